#!/usr/bin/env bash
# The 64-bit download as a user gets it: the zip holds exactly its four files,
# unpacked into a fresh folder of an awkward name, with a settings file beside
# the program, `-LIST` and `-VERSION` answer from there. Run inside the test bed
# (scripts/testbed.sh), after scripts/dist.py has written DIST_DIR.
#
#   scripts/zip-test.sh DIST_DIR
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
dist=$1
folder_name="Promptwright unpacked here 日本 ✓"

version=$(sed -n 's/^#define PW_VERSION_TEXT "\(.*\)"$/\1/p' "$ROOT/build/cmake-x86_64/generated/res/version.h")
zip="$dist/promptwright-$version-win64.zip"
folder="$ROOT/build/zip-test/$folder_name"
rm -rf "$ROOT/build/zip-test"
mkdir -p "$folder"

python3 - "$zip" "$folder" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    names = sorted(z.namelist())
    want = ['CHANGELOG.txt', 'LICENSE.txt', 'README.txt', 'promptwright.exe']
    if names != want:
        sys.exit(f'zip test: {sys.argv[1]} holds {names}, not {want}')
    text = z.read('README.txt')
    if text.count(b'\n') == 0 or text.count(b'\n') != text.count(b'\r\n'):
        sys.exit('zip test: README.txt has line ends other than CR LF')
    z.extractall(sys.argv[2])
EOF

printf '[QuickBox]\r\nGreeting=MessageBox(NULL, "Hello", "Hi", MB_OK);\r\nQuestion=MessageBox(NULL, "Go on?", "Ask", MB_YESNO);\r\n' \
  >"$folder/promptwright.ini"

# From inside the folder, as a user in a console there would start it: the
# exit code, and standard output byte for byte.
failed=0
answers() {
  local wanted=$1 code=0; shift
  (cd "$folder" && "$ROOT/scripts/wine.sh" "$folder/promptwright.exe" "$@" </dev/null >../out 2>../err) || code=$?
  if [ $code -ne 0 ] || ! printf '%s' "$wanted" | cmp -s - "$folder/../out"; then
    echo "zip test: promptwright.exe $*: exit code $code, output:"
    od -c "$folder/../out" | head -n 20
    cat "$folder/../err"
    failed=1
  fi
}
answers $'Greeting\r\nQuestion\r\n' -LIST
answers "Promptwright $version"$'\r\n' -VERSION

[ $failed -eq 0 ] && echo "zip test: $(basename "$zip") unpacked into \"$folder_name\": -LIST and -VERSION answer"
exit $failed
