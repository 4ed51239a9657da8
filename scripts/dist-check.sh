#!/usr/bin/env bash
# Shows that `make dist` gives the same bytes for the same commit: two fresh
# clones of the last commit, in folders of different names and depths (the
# second with spaces, as in "My Projects", which every path must survive), each
# running `make dist` at its own time (the second also in another time zone),
# and every file under their dist/ compared. Prints both sets of checksums and
# the verdict; exits 0 only when they are identical. The clones are removed
# when they agree and kept for a look when they do not.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$ROOT" rev-parse HEAD)
if [ -n "$(git -C "$ROOT" status --porcelain --untracked-files=no)" ]; then
  echo "dist-check: the clones hold the last commit, $commit, not the uncommitted changes"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pw-dist-check.XXXXXX")
first="$work/one"
second="$work/My Projects/promptwright clone two"

run() {
  local dir=$1 zone=$2 log
  log="$dir.log"
  mkdir -p "$(dirname "$dir")"
  git clone --quiet --no-checkout "$ROOT" "$dir"
  git -C "$dir" checkout --quiet --detach "$commit"
  local start=$SECONDS
  # Unsigned: a signature's time stamp differs from run to run.
  if ! (cd "$dir" && TZ=$zone env -u SIGN make dist) >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "dist-check: make dist failed in $dir (log: $log)"
    exit 1
  fi
  echo "dist-check: make dist in $dir ($zone): $((SECONDS - start)) s"
}

sums() { (cd "$1/dist" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum); }

run "$first" UTC
run "$second" Pacific/Chatham

echo "== $first/dist"
sums "$first" | tee "$work/one.sums"
echo "== $second/dist"
sums "$second" | tee "$work/two.sums"
if cmp -s "$work/one.sums" "$work/two.sums"; then
  echo "dist-check: identical: both clones of $commit made the same files"
  rm -rf "$work"
else
  diff "$work/one.sums" "$work/two.sums" || true
  echo "dist-check: DIFFERENT: the two clones of $commit made different files (kept in $work)"
  exit 1
fi
