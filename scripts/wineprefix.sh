# Wine prefixes as copies of a template made once per machine and Wine version,
# outside the checkout: where 32-bit code runs only under emulation, making a
# prefix with its 32-bit side takes minutes (a copy of its 1.3 GB takes
# seconds). Sourced by scripts/testbed.sh and the launcher.
#
# PW_WINE_CACHE names the folder of the templates (default
# /var/cache/promptwright, else ~/.cache/promptwright where that is not
# writable).

# The template for this machine: its name (Wine version, and whether it has the
# 32-bit side, which only a runnable 32-bit loader makes) and path.
pw_template() {
  local version
  version=$(/usr/lib/wine/wine64 --version 2>/dev/null | sed 's/[^A-Za-z0-9.+~]\+/-/g; s/^-//; s/-$//')
  local sides=win64
  /usr/lib/wine/wine --version >/dev/null 2>&1 && sides=win64+32
  PW_TEMPLATE_NAME="wineprefix-${version:-unknown}-$sides"
  local cache=${PW_WINE_CACHE:-/var/cache/promptwright}
  if ! mkdir -p "$cache" 2>/dev/null || [ ! -w "$cache" ]; then cache="${XDG_CACHE_HOME:-$HOME/.cache}/promptwright"; fi
  PW_TEMPLATE="$cache/$PW_TEMPLATE_NAME"
}

# Makes the template unless it exists. Test beds of other checkouts may ask at
# the same moment: one makes it, the others wait for it.
pw_make_template() {
  pw_template
  mkdir -p "$(dirname "$PW_TEMPLATE")" || return 1
  (
    flock 8
    [ -f "$PW_TEMPLATE/.pw-template" ] && exit 0
    echo "wineprefix: creating the Wine prefix template $PW_TEMPLATE (once per machine and Wine version)" >&2
    start=$SECONDS
    export WINEPREFIX="$PW_TEMPLATE.part"
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1 8>&- 9>&- || true
    wineserver -w 8>&- 9>&-
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wineprefix: wineboot made no prefix" >&2; exit 1; }
    touch "$WINEPREFIX/.pw-template"
    mv "$WINEPREFIX" "$PW_TEMPLATE"
    echo "wineprefix: template made in $((SECONDS - start)) s" >&2
  ) 8>"$(dirname "$PW_TEMPLATE")/template.lock"
}

# Replaces WINEPREFIX by a copy of the template (which must exist) and marks it
# with the template's name.
pw_copy_template() {
  pw_template
  [ -f "$PW_TEMPLATE/.pw-template" ] || return 1
  rm -rf "$WINEPREFIX"
  cp -a "$PW_TEMPLATE" "$WINEPREFIX" || return 1
  rm -f "$WINEPREFIX/.pw-template"
  echo "$PW_TEMPLATE_NAME" >"$WINEPREFIX/.pw-prefix"
}

# Whether WINEPREFIX is a copy of this machine's current template.
pw_prefix_current() {
  pw_template
  [ "$(cat "$WINEPREFIX/.pw-prefix" 2>/dev/null)" = "$PW_TEMPLATE_NAME" ]
}
