#!/bin/sh
# Writes the zorv-cli manual page and its bash completion from the program's own --help, so
# that a command or option added to the program cannot be missing from either.
#
#   clidocs.sh ZORV_CLI MAN_TEMPLATE MAN_OUT BASH_TEMPLATE BASH_OUT
#
# The templates hold the hand-written parts; the line %%COMMANDS%% (and, in the manual page,
# %%OPTIONS%%) is replaced by what --help says. Only POSIX sh and awk: the package build has
# nothing more.
set -eu
cli=$1 man_in=$2 man_out=$3 bash_in=$4 bash_out=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The manual page is English: ask for the English help whatever the builder's locale.
LANGUAGE=en LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 "$cli" --help >"$tmp/help"

# One record per command and per option, fields separated by tabs:
#   C <name> <usage> <summary>        O <names> <value> <description>
# --help prints each command as "  name usage" with the summary from a fixed column (or on
# the next lines when the usage is longer), usage continuations indented by six spaces and
# summary continuations by the summary column; usage and summary are parted by two spaces,
# which neither holds. Options come in Qt's layout: "  -x, --name <VALUE>  description".
awk '
function flush() {
    if (kind != "") printf "%s\t%s\t%s\t%s\n", kind, a, b, c
    kind = ""; a = ""; b = ""; c = ""
}
function join(x, y) { return x == "" ? y : (y == "" ? x : x " " y) }
function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
/^Commands:$/ { flush(); section = "C"; next }
/^Options:$/ { flush(); section = "O"; next }
/^Arguments:$/ { flush(); section = ""; next }
/^$/ { next }
section == "C" {
    indent = match($0, /[^ ]/) - 1
    line = substr($0, indent + 1)
    if (indent == 2) {
        flush(); kind = "C"
        split(line, w, " "); a = w[1]; line = substr(line, length(a) + 1)
    }
    if (indent >= 30) { c = join(c, trim(line)); next }
    cut = index(line, "  ")
    if (cut) { b = join(b, trim(substr(line, 1, cut - 1))); c = join(c, trim(substr(line, cut))) }
    else b = join(b, trim(line))
    next
}
section == "O" {
    if ($0 ~ /^  -/) {
        flush(); kind = "O"
        line = substr($0, 3); cut = index(line, "  ")
        head = cut ? substr(line, 1, cut - 1) : line
        c = cut ? trim(substr(line, cut)) : ""
        if (match(head, / <[^>]*>$/)) { b = substr(head, RSTART + 2, RLENGTH - 3); head = substr(head, 1, RSTART - 1) }
        a = head
    } else c = join(c, trim($0))
    next
}
END { flush() }
' "$tmp/help" >"$tmp/table"

if ! grep -q '^C' "$tmp/table" || ! grep -q '^O' "$tmp/table"; then
    echo "clidocs.sh: no commands or options found in $cli --help" >&2
    exit 1
fi

# The manual page's COMMANDS and OPTIONS sections, in roff.
manpart() {
    awk -F '\t' -v what="$1" '
function roff(s) {
    gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
    return s
}
function italic(s,   out) {
    # Words in capitals are the arguments a user fills in.
    out = ""
    while (match(s, /[A-Z][A-Z0-9_]*/)) {
        out = out substr(s, 1, RSTART - 1) "\\fI" substr(s, RSTART, RLENGTH) "\\fR"
        s = substr(s, RSTART + RLENGTH)
    }
    return out s
}
$1 == "C" && what == "C" {
    print ".TP"
    print "\\fB" roff($2) "\\fR" ($3 == "" ? "" : " " italic(roff($3)))
    print "\\&" roff($4)
}
$1 == "O" && what == "O" {
    print ".TP"
    names = roff($2); gsub(/, /, "\\fR, \\fB", names)
    print "\\fB" names "\\fR" ($3 == "" ? "" : " \\fI" roff($3) "\\fR")
    print "\\&" roff($4)
}
' "$tmp/table"
}
manpart C >"$tmp/commands.man"
manpart O >"$tmp/options.man"

# The completion's tables: for each command, the options it takes (NAME or NAME=SPEC when it
# takes a value) and the kind of each positional argument. A SPEC says how to complete a word:
# f.EXT a file with that extension, f any file, d a folder, c:a,b the words a and b, - nothing.
awk -F '\t' '
function spec(word, summary,   s, n, i, parts, out, ext) {
    gsub(/[][()]/, "", word)
    if (word ~ /\|/) {
        n = split(word, parts, "|"); out = ""
        for (i = 1; i <= n; i++) if (parts[i] ~ /^[a-z0-9-]+$/) out = out (out == "" ? "" : ",") parts[i]
        return out == "" ? "-" : "c:" out
    }
    if (word == "LOG") return "f.log"
    if (word == "DIR") return "d"
    if (word == "FILE" || word == "IMAGE" || word == "OUT" || word == "DEVICE") return "f"
    if (word == "PAGE" && index(summary, ":")) {
        # The summary of a command that takes a page names the pages after a colon.
        s = substr(summary, index(summary, ":") + 1); gsub(/[ ,]+/, ",", s); sub(/^,/, "", s)
        return "c:" s
    }
    if (match(word, /^[A-Z_]+\.[a-z0-9]+$/)) { ext = substr(word, index(word, ".") + 1); return "f." ext }
    return "-"
}
function addopt(cmd, name, value,   padded) {
    # A value named in the option list (<avg|min|max>) tells more than one in a usage.
    padded = " " opts[cmd] " "
    if (value != "" && value != "-" && index(padded, " " name "=- ")) {
        sub(" " name "=- ", " " name "=" value " ", padded)
        opts[cmd] = substr(padded, 2, length(padded) - 2)
    }
    if (index(padded, " " name " ") || index(padded, " " name "=")) return
    opts[cmd] = opts[cmd] (opts[cmd] == "" ? "" : " ") name (value == "" ? "" : "=" value)
}
# How many brackets a word of a usage opens, less those it closes.
function nesting(w,   opened, closed) {
    opened = gsub(/[[(]/, "", w); closed = gsub(/[])]/, "", w)
    return opened - closed
}
$1 == "C" {
    cmd = $2; cmds = cmds (cmds == "" ? "" : " ") cmd; order[++ncmd] = cmd; args[cmd] = ""
    n = split($3, t, " "); depth = 0
    for (i = 1; i <= n; i++) {
        w = t[i]; outside = depth == 0 && w !~ /^[[(]/
        depth += nesting(w)
        bare = w; gsub(/[][()]/, "", bare)
        if (bare ~ /^--/) {
            # The next word is its value when it is a placeholder (LOG, +-H) or a choice (a|b).
            v = ""
            if (i < n && t[i + 1] !~ /^[-[(|]/ && t[i + 1] ~ /^[A-Z+]|\|/) {
                v = spec(t[++i], $4)
                depth += nesting(t[i])
            }
            addopt(cmd, bare, v)
        } else if (outside) {
            # Only words outside brackets are positional arguments.
            args[cmd] = args[cmd] (args[cmd] == "" ? "" : " ") spec(w, $4)
        }
    }
}
$1 == "O" {
    name = $2; sub(/^-[a-zA-Z], /, "", name)
    v = $3 == "" ? "" : spec($3, "")
    owners = ""
    # "csv, print: ..." names the commands an option belongs to; the others belong to all.
    if (index($4, ":")) {
        pre = substr($4, 1, index($4, ":") - 1); gsub(/ and /, ", ", pre)
        m = split(pre, items, ", ")
        for (j = 1; j <= m; j++) { split(items[j], first, " "); if (index(" " cmds " ", " " first[1] " ")) owners = owners " " first[1] }
    }
    if (owners == "") global = global (global == "" ? "" : " ") name (v == "" ? "" : "=" v)
    else { m = split(owners, own, " "); for (j = 1; j <= m; j++) addopt(own[j], name, v) }
}
END {
    print "_zorv_cli_commands=\"" cmds "\""
    print "_zorv_cli_global=\"" global "\""
    print "declare -gA _zorv_cli_options=("
    for (i = 1; i <= ncmd; i++) print "    [" order[i] "]=\"" opts[order[i]] "\""
    print ")"
    print "declare -gA _zorv_cli_arguments=("
    for (i = 1; i <= ncmd; i++) print "    [" order[i] "]=\"" args[order[i]] "\""
    print ")"
}
' "$tmp/table" >"$tmp/commands.bash"

# Puts FILE in place of the template line that is exactly MARKER.
fill() {
    awk -v marker="$2" -v file="$3" '
        $0 == marker { while ((getline line < file) > 0) print line; next }
        { print }
    ' "$1"
}
fill "$man_in" %%COMMANDS%% "$tmp/commands.man" >"$tmp/man1"
fill "$tmp/man1" %%OPTIONS%% "$tmp/options.man" >"$man_out"
fill "$bash_in" %%COMMANDS%% "$tmp/commands.bash" >"$bash_out"
