#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what arrived: the programs, the help book
# in English and Vietnamese, the samples, the desktop entry, the icons, the manual pages, the bash
# completion and the AppStream description; then runs the installed command-line tool with a home
# and a configuration folder of its own, and checks that an installed copy takes its settings from
# the user's configuration folder, never from beside itself.
#
#   check-install.sh CMAKE BUILD_DIR DATADIR
#
# DATADIR is the data folder relative to the prefix ("share"). Exits non-zero on the first fault.
set -euo pipefail

cmake_program="$1"
build_dir="$2"
datadir="$3"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

work="$(mktemp -d "${TMPDIR:-/tmp}/odz-install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
data="$prefix/$datadir"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_file() {
  [[ -f "$1" ]] || fail "$1 was not installed"
}

if ! "$cmake_program" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install failed"
fi

# The programs.
for program in odizodoruz odizodoruz-cli; do
  expect_file "$prefix/bin/$program"
  [[ -x "$prefix/bin/$program" ]] || fail "$prefix/bin/$program is not executable"
done

# The help book: every page of the sources, byte for byte, and nothing else.
expect_file "$data/odizodoruz/help/index.html"
diff -r "$source_dir/resources/help" "$data/odizodoruz/help" >&2 || fail "the installed help book differs from resources/help"

# The samples: every folder and file, byte for byte.
expect_file "$data/odizodoruz/samples/utf8/thu-gui-ban.txt"
diff -r "$source_dir/samples" "$data/odizodoruz/samples" >&2 || fail "the installed samples differ from samples/"

# The desktop entry, with the program and the icon it names.
desktop="$data/applications/odizodoruz.desktop"
expect_file "$desktop"
cmp -s "$desktop" "$source_dir/resources/odizodoruz.desktop" || fail "$desktop differs from its source"
[[ "$(grep -c '^Exec=' "$desktop")" == 1 ]] || fail "$desktop must have one Exec line"
grep -qx 'Exec=odizodoruz %f' "$desktop" || fail "$desktop does not start odizodoruz with the file or folder it is given"
grep -qx 'Icon=odizodoruz' "$desktop" || fail "$desktop does not name the icon odizodoruz"
grep -qx 'Type=Application' "$desktop" || fail "$desktop is no application entry"

# The icons, as PNG pictures of their folder's size.
png_size() {
  # Width and height are the big-endian numbers at bytes 16 to 23 of a PNG file.
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}
for size in 48 256; do
  icon="$data/icons/hicolor/${size}x${size}/apps/odizodoruz.png"
  expect_file "$icon"
  [[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "$icon is no PNG picture"
  [[ "$(png_size "$icon")" == "${size}x${size}" ]] || fail "$icon is $(png_size "$icon"), not ${size}x${size}"
done

# The manual pages, compressed, each a page of section 1 that names its program.
for page in odizodoruz odizodoruz-cli; do
  manual="$data/man/man1/$page.1.gz"
  expect_file "$manual"
  gzip -dc "$manual" | grep -q "^\.TH $(tr a-z A-Z <<<"$page") 1 " || fail "$manual is no manual page of $page"
done
gzip -dc "$data/man/man1/odizodoruz-cli.1.gz" | cmp -s - "$source_dir/docs/man/odizodoruz-cli.1" ||
  fail "the installed manual page differs from docs/man/odizodoruz-cli.1"

# The AppStream description names the desktop entry and this version.
metainfo="$data/metainfo/io.github.odizodoruz.odizodoruz.metainfo.xml"
expect_file "$metainfo"
grep -q '<launchable type="desktop-id">odizodoruz.desktop</launchable>' "$metainfo" ||
  fail "$metainfo does not launch odizodoruz.desktop"

# The installed tool runs with a home of its own.
home="$work/home"
config="$work/config"
mkdir -p "$home" "$config"
cli="$prefix/bin/odizodoruz-cli"
run_cli() {
  env -u XDG_CONFIG_HOME HOME="$home" "$@"
}

listing="$(run_cli XDG_CONFIG_HOME="$config" "$cli" encodings)" || fail "odizodoruz-cli encodings failed"
expected_listing="viqr      VIQR
ztwin     ZTWin
viscii    VISCII
vps       VPS
vni       VNIWind
tcvn1     TCVN1
tcvn2     TCVN2
ncr       Decimal NCR UTF-8
utf8      Unicode UTF-8
utf16     Unicode16
cp1258    Windows-1258
utf8-nfd  Unicode UTF-8 Composite"
[[ "$listing" == "$expected_listing" ]] || fail "odizodoruz-cli encodings printed: $listing"
grep -q "^<release version=\"$(run_cli "$cli" --version | cut -d' ' -f2)\"" <(sed 's/^ *//' "$metainfo") ||
  fail "$metainfo has no release of the version odizodoruz-cli --version shows"

# The bash completion offers the encodings after -f and the options of a command.
completion="$data/bash-completion/completions/odizodoruz-cli"
expect_file "$completion"
complete_words() {
  # shellcheck disable=SC1090
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _odizodoruz_cli; echo "${COMPREPLY[*]}"' \
    _ "$completion" "$@"
}
# After -f the source may also be detected ("auto"); after -t only the encodings.
encodings="$(awk '{ print $1 }' <<<"$listing" | paste -sd' ')"
[[ "$(complete_words "$cli" convert -f '')" == "auto $encodings" ]] ||
  fail "the completion after -f is not auto and the list of encodings: $(complete_words "$cli" convert -f '')"
[[ "$(complete_words "$cli" convert -t '')" == "$encodings" ]] ||
  fail "the completion after -t is not the list of encodings: $(complete_words "$cli" convert -t '')"
[[ "$(complete_words "$cli" replace --)" == "--find --with --mask --" ]] ||
  fail "the completion of replace's options: $(complete_words "$cli" replace --)"

# The installed samples convert into one another as they were made.
run_cli XDG_CONFIG_HOME="$config" "$cli" convert -f utf8 -t vni "$data/odizodoruz/samples/utf8/thu-gui-ban.txt" \
  "$work/thu-gui-ban.txt" 2>"$work/cli.err" || { cat "$work/cli.err" >&2; fail "converting a sample failed"; }
cmp -s "$work/thu-gui-ban.txt" "$data/odizodoruz/samples/vni/thu-gui-ban.txt" || fail "the converted sample differs"
# Folders are converted by a module of the tool's own, loaded from where it is installed.
run_cli XDG_CONFIG_HOME="$config" "$cli" convert -f utf8 -t vni "$data/odizodoruz/samples/utf8" "$work/samples" \
  2>"$work/cli.err" || { cat "$work/cli.err" >&2; fail "converting the samples' folder failed"; }
cmp -s "$work/samples/thu-gui-ban.txt" "$data/odizodoruz/samples/vni/thu-gui-ban.txt" ||
  fail "a sample converted with its folder differs"

# The VIQR keys show where the settings were read from: "ấ" is the letter, the Mu key and the Sac key.
to_viqr() {
  printf '\xe1\xba\xa5' | run_cli "$@" "$cli" convert -f utf8 -t viqr - - 2>/dev/null
}
# Settings beside the installed program are not its settings, even though the test may write there.
printf '[VN Key Current Encode]\r\nConversion=qwrtzxcvbnm\r\n' >"$prefix/bin/odizodoruz.ini"
mkdir -p "$config/odizodoruz"
printf '[VN Key Current Encode]\r\nConversion=1234567890!\r\n' >"$config/odizodoruz/odizodoruz.ini"
[[ "$(to_viqr XDG_CONFIG_HOME="$config")" == $'a61\r' ]] || fail "the keys did not come from \$XDG_CONFIG_HOME"
rm "$config/odizodoruz/odizodoruz.ini"
[[ "$(to_viqr XDG_CONFIG_HOME="$config")" == $'a^\'\r' ]] || fail "without settings the standard keys were not used"
# Without XDG_CONFIG_HOME the folder is ~/.config.
mkdir -p "$home/.config/odizodoruz"
printf '[VN Key Current Encode]\r\nConversion=1234567890!\r\n' >"$home/.config/odizodoruz/odizodoruz.ini"
[[ "$(to_viqr)" == $'a61\r' ]] || fail "the keys did not come from ~/.config/odizodoruz"
# The tool reads the settings, it never writes them.
[[ ! -e "$config/odizodoruz/odizodoruz.ini" ]] || fail "odizodoruz-cli wrote a settings file"

# The installed window starts, opens the folder it is given and, closed by a logout's SIGTERM, keeps
# its settings and the engine's keys in the user's configuration folder, not beside itself.
rm -rf "$config/odizodoruz"
decoy="$(cat "$prefix/bin/odizodoruz.ini")"
samples="$data/odizodoruz/samples/utf8"
env HOME="$home" XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen "$prefix/bin/odizodoruz" "$samples" \
  >"$work/window.log" 2>&1 &
window=$!
# Wait until the program catches SIGTERM (bit 15 of its caught-signals mask), so the signal reaches it.
caught=0
for _ in $(seq 1 300); do
  mask="$(awk '/^SigCgt:/ { print $2 }' "/proc/$window/status" 2>/dev/null || true)"
  if [[ -n "$mask" ]] && (((16#$mask >> 14) & 1)); then
    caught=1
    break
  fi
  sleep 0.1
done
if [[ $caught -eq 0 ]]; then
  kill -KILL "$window" 2>/dev/null || true
  cat "$work/window.log" >&2
  fail "the window program did not start"
fi
kill -TERM "$window"
status=0
wait "$window" || status=$?
[[ $status -eq 0 ]] || { cat "$work/window.log" >&2; fail "the window program ended with status $status"; }
settings="$config/odizodoruz/odizodoruz.ini"
expect_file "$settings"
grep -qx "Source=$(cd "$samples" && pwd)/" "$settings" || fail "the window did not keep the folder it was given: $(cat "$settings")"
grep -qx "\[VN Key Current Encode\]" "$settings" || fail "the engine did not keep its keys after the window"
grep -q "^Conversion=" "$settings" || fail "the engine did not keep its keys after the window"
[[ "$(cat "$prefix/bin/odizodoruz.ini")" == "$decoy" ]] || fail "the window wrote settings beside the installed program"

echo "installed and checked in $prefix"
