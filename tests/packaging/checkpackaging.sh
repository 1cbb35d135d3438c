#!/usr/bin/env bash
# Checks what the package installs besides the programs, as built in the build tree: the desktop
# entry, the AppStream entry, the manual pages, the icons and the bash completion, with the
# tools a distribution checks them with.
#
#   checkpackaging.sh SOURCE_DIR PACKAGING_BUILD_DIR ZORV_CLI
set -euo pipefail
src=$1 built=$2 cli=$3
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "-- desktop entry"
# Hints (other categories one might add) are allowed; errors and warnings are not.
out=$(desktop-file-validate "$src/packaging/zorv.desktop" 2>&1) || fail "desktop-file-validate: $out"
if grep -E ': (error|warning):' <<<"$out"; then fail "desktop-file-validate"; fi
grep -q '^Keywords=' "$src/packaging/zorv.desktop" || fail "the desktop entry has no Keywords"

echo "-- AppStream entry"
for f in "$built/org.zorv.zorv.metainfo.xml" "$built/screenshots-test.metainfo.xml"; do
    out=$(appstreamcli validate --no-net --pedantic --no-color "$f" 2>&1) || fail "appstreamcli $f: $out"
    # Pedantic remarks are allowed; warnings and errors are not.
    if grep -E '^(W|E):' <<<"$out"; then fail "appstreamcli $f"; fi
done
grep -o '[a-z-]*\.png</image>' "$built/screenshots-test.metainfo.xml" | sed 's|</image>||' | while read -r png; do
    [ -s "$src/packaging/screenshots/$png" ] || { echo "FAIL: packaging/screenshots/$png is missing" >&2; exit 1; }
done || failures=$((failures + 1))
grep -q '<launchable type="desktop-id">zorv.desktop</launchable>' "$built/org.zorv.zorv.metainfo.xml" \
    || fail "the AppStream entry does not launch zorv.desktop"

echo "-- manual pages"
for page in "$src/packaging/zorv.1" "$src/packaging/zorv.fr.1" "$built/zorv-cli.1"; do
    # man reports roff mistakes on stderr and still renders the page.
    err=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man $page failed"
    [ -z "$err" ] || fail "man --warnings $page: $err"
done
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$built/zorv-cli.1" 2>/dev/null)

# Every command and every option of --help, in the manual page and the completion.
help=$(LANGUAGE=en LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 "$cli" --help)
commands=$(sed -n '/^Commands:$/,/^$/p' <<<"$help" | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')
options=$(sed -n '/^Options:$/,/^$/p' <<<"$help" | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ "$(wc -w <<<"$commands")" -ge 20 ] || fail "found only $(wc -w <<<"$commands") commands in --help"
[ "$(wc -w <<<"$options")" -ge 30 ] || fail "found only $(wc -w <<<"$options") options in --help"
# shellcheck disable=SC1091
completion=$(bash -c 'source "$1"; echo "$_zorv_cli_commands"; echo "${_zorv_cli_options[*]} $_zorv_cli_global"' \
    _ "$built/completion/zorv-cli" 2>/dev/null || true)
for c in $commands; do
    grep -qE "^ +$c( |$)" <<<"$manual" || fail "command $c is not in the manual page"
    grep -qw -- "$c" <<<"$(head -1 <<<"$completion")" || fail "command $c is not in the completion"
done
for o in $options; do
    grep -qE -- "(^|[ ,])$o( |,|$)" <<<"$manual" || fail "option $o is not in the manual page"
    grep -qE -- "(^| )$o(=| |$)" <<<"$(tail -1 <<<"$completion")" || fail "option $o is not in the completion"
done

echo "-- icons"
for size in 48 128; do
    png="$built/icons/${size}x${size}/zorv.png"
    # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done

echo "-- bash completion"
bash -n "$built/completion/zorv-cli" || fail "the completion script does not parse"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/dives" && touch "$work/a.log" "$work/b.txt" "$work/c.csv"
# Each case: the words typed, with the cursor at the end of the last (empty = a new word),
# then the answers that must be offered, then '!' and the ones that must not.
cases=(
    'zorv-cli st|stats|!info'
    'zorv-cli |info csv plan select'
    'zorv-cli stats a.log |year consumption-month|!a.log'
    'zorv-cli import |guardian citizen'
    'zorv-cli info |a.log dives|!b.txt c.csv'
    'zorv-cli csv |a.log|!c.csv'
    'zorv-cli csv a.log |c.csv dives|!a.log b.txt'
    'zorv-cli csv a.log out.csv --f|--fields --from|!--paper'
    'zorv-cli print a.log out.pdf --mode |pages list cover'
    'zorv-cli --settings |dives|!a.log'
    'zorv-cli stats a.log year --aggregate |avg min max'
    'zorv-cli plan --|--depth --mountain --profile'
    'zorv-cli decode x --into |a.log|!b.txt'
    'zorv-cli --imperial li|list'
)
for entry in "${cases[@]}"; do
    IFS='|' read -r line want refuse <<<"$entry"
    got=$(cd "$work" && bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        read -r -a COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=$2 COMP_POINT=${#2}
        _zorv_cli
        printf "%s\n" "${COMPREPLY[@]}"' _ "$built/completion/zorv-cli" "$line" 2>&1)
    for w in $want; do
        grep -qx -- "$w" <<<"$got" || fail "completing '$line' does not offer $w (offers: $(echo $got))"
    done
    for w in ${refuse#!}; do
        ! grep -qx -- "$w" <<<"$got" || fail "completing '$line' offers $w"
    done
done

echo "-- the generator on commands still to come"
# A help text in the same layout, with commands and options other branches are adding: the
# generated completion must take them without a change to the generator.
printf '#!/bin/sh\ncat "%s"\n' "$src/tests/packaging/futurehelp.txt" >"$work/fakecli"
chmod +x "$work/fakecli"
sh "$src/packaging/clidocs.sh" "$work/fakecli" "$src/packaging/zorv-cli.1.in" "$work/fake.1" \
    "$src/packaging/zorv-cli.bash.in" "$work/fake.bash" || fail "clidocs.sh failed on the future help"
tables=$(bash -c 'source "$1"; declare -p _zorv_cli_options _zorv_cli_arguments; echo "global=$_zorv_cli_global"' \
    _ "$work/fake.bash" 2>&1)
for want in '[uddf]="f.log f.uddf"' '[import]="c:guardian,citizen,uddf f"' '--equipment=f.dat' '--teaching=f.abn' \
    '--portable' 'global=--help --force' '[generate]="f"' '--end=-'; do
    grep -qF -- "$want" <<<"$tables" || fail "the future help gives no $want in the completion: $tables"
done
grep -q 'uddf' "$work/fake.1" && grep -q '\\-\\-force' "$work/fake.1" || fail "the future help is not in the manual page"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "packaging files: all checks passed"
