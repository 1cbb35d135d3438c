#!/bin/sh
# Writers of one logbook: zorv-cli against zorv-cli, against a running program's edit
# lock, and outputs that would land on the logbook's own files.
#   safewrites.sh CLI WORK SAMPLE concurrent|editlock|outputs
cli=$1 work=$2 sample=$3 case=$4
dir=$work/safewrites-$case
rm -rf "$dir" && mkdir -p "$dir" || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }

case $case in
concurrent)
    # Each writer fills its own dives one write at a time; a write that reports success
    # must be in the logbook at the end, whatever the other writer did meanwhile.
    # On a memory file system when there is one: the lock is the same, the syncs are free.
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then
        rm -rf "$dir" && dir=$(mktemp -d /dev/shm/zorv-safewrites.XXXXXX) || exit 1
        trap 'rm -rf "$dir"' EXIT
    fi
    "$cli" generate --dives 160 --seed 7 "$dir/L.log" >/dev/null || fail "generate"
    writer() {
        ok=0
        for n in $(seq "$1" "$2"); do
            "$cli" fill "$dir/L.log" --from "$n" --to "$n" --field "site=$3" >/dev/null 2>>"$dir/$3.err" && ok=$((ok + 1))
        done
        echo "$ok" >"$dir/$3.ok"
    }
    writer 1 75 WriterA &
    a=$!
    writer 81 155 WriterB &
    b=$!
    wait "$a" "$b"
    for w in WriterA WriterB; do
        reported=$(cat "$dir/$w.ok")
        found=$("$cli" find "$dir/L.log" --site "$w" | tail -n 1)
        [ "$found" = "Plongées adéquates: $reported" ] || fail "$w: $reported writes reported, '$found' in the logbook"
        [ "$reported" = 75 ] || fail "$w: only $reported of 75 writes succeeded: $(head -n 3 "$dir/$w.err")"
    done
    ;;
editlock)
    cp "$sample" "$dir/L.log" || fail "copy"
    lock="$dir/.~lock.L.log#"
    echo "anna sur bureau (processus 4242)" >"$lock"
    # The subshell becomes the sleep that keeps the locked descriptor: killing it lets go.
    (flock -x 9 && exec sleep 30) 9>>"$lock" &
    holder=$!
    sleep 0.3
    "$cli" renumber "$dir/L.log" --start 100 >/dev/null 2>"$dir/err"
    code=$?
    [ $code = 4 ] || { kill "$holder"; fail "renumber under a live edit lock exited $code"; }
    grep -q "anna sur bureau (processus 4242)" "$dir/err" || { kill "$holder"; fail "the holder is not named: $(cat "$dir/err")"; }
    cmp -s "$sample" "$dir/L.log" || { kill "$holder"; fail "the logbook changed"; }
    # Reading is no writing: a dry run and a listing go on beside the editor.
    "$cli" replace "$dir/L.log" --field place --find a --with b --dry-run >/dev/null &&
        "$cli" list "$dir/L.log" >/dev/null || { kill "$holder"; fail "a reading command was refused"; }
    "$cli" --force renumber "$dir/L.log" --start 100 >/dev/null || { kill "$holder"; fail "--force was refused"; }
    kill "$holder"
    wait "$holder" 2>/dev/null
    # A lock nobody holds any more is no obstacle.
    "$cli" renumber "$dir/L.log" --start 1 >/dev/null || fail "a stale lock file stopped the write"
    ;;
outputs)
    cp "$sample" "$dir/L.log" && cp "${sample%.log}.add" "$dir/L.add" || fail "copy"
    ln -s L.log "$dir/link.log"
    cp "$dir/L.log" "$dir/L.log.orig" && cp "$dir/L.add" "$dir/L.add.orig"
    check() {
        "$cli" "$@" >/dev/null 2>"$dir/err"
        code=$?
        [ $code = 2 ] || fail "$* exited $code"
        grep -q "Rien n'a été écrit" "$dir/err" || fail "$*: $(cat "$dir/err")"
        cmp -s "$dir/L.log" "$dir/L.log.orig" && cmp -s "$dir/L.add" "$dir/L.add.orig" || fail "$* changed the logbook"
        [ ! -e "$dir/L.inf" ] && [ ! -e "$dir/L.log.bak" ] || fail "$* wrote a companion"
    }
    check csv "$dir/L.log" "$dir/L.log"
    check csv "$dir/L.log" "$dir/L.add"
    check csv "$dir/link.log" "$dir/./L.add"
    check print "$dir/L.log" "$dir/L.log"
    check print "$dir/L.log" "$dir/L.inf"
    check render-profile "$dir/L.log" 1 "$dir/L.add"
    check select "$dir/L.log" "$dir/L.log" --from 1 --to 2
    check select "$dir/L.log" "$dir/link.log" --from 1 --to 2
    check resave "$dir/L.log" "$dir/L.log"
    check resave "$dir/link.log" "$dir/L.log.bak"
    # Another name beside it is fine.
    "$cli" csv "$dir/L.log" "$dir/L.csv" >/dev/null || fail "csv to another name"
    ;;
esac
echo "1 passed, 0 failed"
