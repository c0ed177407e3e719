# Sourced: the environment every Wine run of this project uses.
VLCR_ROOT=${VLCR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$VLCR_ROOT/build/wine/prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts, no menu entries, and a crash exits non-zero
# instead of waiting on the debugger's dialog.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"}
# Japanese, as the program's users run it; VLCR_LANG tries another locale.
export LANG=${VLCR_LANG:-ja_JP.UTF-8}
export LC_ALL=$LANG
