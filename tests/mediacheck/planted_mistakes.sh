#!/usr/bin/env bash
# The media checker on media built from examples/ with one planted mistake of each kind: each is
# reported at its line with its severity, an optional file that is missing is not, and examples/
# itself passes clean.   planted_mistakes.sh MEDIACHECK
set -u
checker=$1 root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$checker" "$root/examples" > "$work/clean.txt"
status=$?
[ "$status" -eq 0 ] || fail "examples/ ends with $status: $(cat "$work/clean.txt")"
grep -q ': error: \|: warning: ' "$work/clean.txt" && fail "examples/ is not clean: $(cat "$work/clean.txt")"
grep -q '^media: 12 files, 1 folders, [0-9]* bytes$' "$work/clean.txt" || fail "no summary: $(cat "$work/clean.txt")"

media=$work/media
cp -r "$root/examples" "$media"
rm "$media/license.txt"
mv "$media/readme.txt" "$media/ReadMe.txt"
printf 'tool' > "$media/tool.exe"
printf 'x' > "$media/docs/a=b.txt"
long=$(printf 'd%.0s' $(seq 1 200))
mkdir -p "$media/docs/$long" && printf 'x' > "$media/docs/$long/$(printf 'f%.0s' $(seq 1 40)).txt"
# Each edit: the line of examples/setup.ini to change (a Python regular expression), and its new text.
python3 - "$media/setup.ini" <<'PY'
import re, sys
path = sys.argv[1]
text = re.sub(r"\r?\n", "\r\n", open(path, newline="").read())
for old, new in [(r"BackColor=16777215", "BackColor=16777216"), (r"ExtendBackground=1", "ExtendBackground=yes"),
                 (r"image=welcome\.bmp", "image120=welcome.bmp"), (r"image144=welcome144\.bmp", "image144=missing.bmp"),
                 (r"Title=Licence Agreement", "Tittle=Licence Agreement"), (r"HeaderBackColor=16446702", "HeaderBackColor=#EEF6FA"),
                 (r"HeaderRTF=destination_header\.rtf", "HeaderRTF=missing.rtf"),
                 (r"DividerTextOffset=-1,0(\r\n\r\n\[ProgFolder\])", r"DividerTextOffset=-1\1"),
                 (r"HeaderRTFMargins=12,8,8,4(\r\nDividerText=Corvantis Vandrel 4.2\r\nDividerTextOffset=-1,0\r\n\r\n\[Progress)", r"HeaderRTFMargins=12,8,8\1"),
                 (r"\[Progress\]\r\nTitle=[^\r]*", "[Progres]\r\n[Progress]\r\nTitle=Installing %productversion(vandrel.exe)%"),
                 (r"setup\.exe=0\r\n", "=0\r\nmanual.pdf=0\r\nextras.txt=4\r\ntool.exe=2\r\n"),
                 (r"(readme\.txt=0\r\n)", r"\1readme.txt=4\r\n"), (r"docs=0", "docs=0\r\nsamples=0"),
                 (r"(\[InstallShortcuts\]\r\n)", r"\1missing.exe=Missing\r\n")]:
    text, count = re.subn(old, new, text, count=1)
    assert count == 1, old
open(path, "w", newline="").write(text)
PY
"$checker" "$media" > "$work/report.txt"
status=$?
[ "$status" -eq 1 ] || fail "the planted media end with $status, not 1"

# The line that holds the text, the severity, and a part of the report's text.
while IFS='|' read -r planted severity says; do
  line=$(awk -v p="$planted" '{ sub(/\r$/, "") } $0 == p && !e { e = NR } index($0, p) == 1 && !s { s = NR } END { print e ? e : s }' \
    "$media/setup.ini")
  grep -q -F -- "$media/setup.ini:$line: $severity: " <(grep -F -- "$says" "$work/report.txt") \
    || fail "no '$severity' at line $line ($planted) saying '$says'"
done <<'ROWS'
[Progres]|error|did you mean [Progress]?
Tittle=|error|did you mean 'Title'?
BackColor=16777216|error|out of range
ExtendBackground=yes|error|is not a flag
HeaderBackColor=#EEF6FA|error|write 16447214
DividerTextOffset=-1|error|needs two numbers x,y
HeaderRTFMargins=12,8,8|error|needs four numbers
image120=|error|no plain image: screens below 120 DPI
image144=missing.bmp|error|'missing.bmp' is missing
HeaderRTF=missing.rtf|error|'missing.rtf' is missing
Title=Installing %productversion|error|'vandrel.exe' is missing
manual.pdf=0|error|'manual.pdf' is missing
=0|error|an entry without a key
readme.txt=0|warning|is 'ReadMe.txt' on the media
readme.txt=4|error|sets it first
tool.exe=2|error|no version resource
docs=0|error|'docs\a=b.txt' has '='
docs=0|error|longer than 259 characters
samples=0|error|'samples' is missing
[InstallFiles]|error|does not list setup.exe
missing.exe=Missing|error|'missing.exe', which is not installed
[License]|error|'license.txt' is missing
ROWS
grep -q 'extras.txt' "$work/report.txt" && fail "the optional extras.txt is reported"
[ "$failures" -eq 0 ] || { cat "$work/report.txt"; exit 1; }
echo "mediacheck: every planted mistake is reported"
