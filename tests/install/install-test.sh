#!/bin/sh
# Installs the build into a read-only prefix and runs both programs from it
# as a user who cannot write there, then packages the build and looks inside.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1 source=$2 work=$(mktemp -d /tmp/orvalin-install-XXXXXX) pid=
trap '[ -z "$pid" ] || kill $pid 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
prefix=$work/usr
chmod 755 "$work"
cmake --install "$build" --prefix "$prefix" >/dev/null
chmod -R a-w "$prefix"

runner= # modes stop no root: root runs the programs as nobody
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null && runner="setpriv --reuid=nobody --regid=nogroup --clear-groups" || runner=none
fi
as_user() { # HOME COMMAND..., in a subshell that becomes the command
  home=$work/$1; shift; mkdir -p "$home"; chmod 777 "$home"
  exec $runner env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}
if [ "$runner" = none ]; then
  echo "No setpriv: the installed programs are not run."
else
  sox -n -r 22050 -c 1 -b 16 "$work/in.wav" synth 1 sine 440
  mkdir "$work/out" && chmod 777 "$work/out"
  (as_user home1 "$prefix/bin/orvalin-convert" -q -o "$work/out" -y "$work/in.wav") || fail "orvalin-convert: status $?"
  [ -s "$work/out/orvaln1s.swf" ] && [ -s "$work/out/orvaln1.htm" ] || fail "no outputs"
  [ "$(sed -n 10p "$work/home1/.config/orvalin/orvaln.da0")" = "$(printf '2\r')" ] || fail "the run's settings are not the user's"
  cmp -s "$prefix/lib/orvalin/orvaln.da0" "$source/data/orvaln.da0" || fail "the shipped settings changed"

  (as_user home2 "$prefix/bin/orvalin") &
  pid=$! tries=0 # up once it has made its settings; it must then run until stopped
  until [ -f "$work/home2/.config/orvalin/orvaln.da0" ]; do
    tries=$((tries + 1)); [ $tries -le 200 ] || fail "orvalin made no settings in 20 s"; sleep 0.1
  done
  sleep 1
  kill $pid; status=0; wait $pid || status=$?; pid=
  [ $status = 143 ] || fail "orvalin ended by itself, status $status"
fi

for option in $("$prefix/bin/orvalin-convert" --help | grep -o -- '--[a-z][a-z-]*'); do
  sed 's/\\-/-/g' "$source/data/orvalin-convert.1" | grep -q -- "$option" || fail "the manual lacks $option"
done

cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
deb=$(echo "$work"/deb/orvalin_*_amd64.deb) listing=$(dpkg-deb -c "$work"/deb/orvalin_*_amd64.deb)
for file in bin/orvalin bin/orvalin-convert share/applications/orvalin.desktop share/man/man1/orvalin-convert.1.gz \
  share/icons/hicolor/scalable/apps/orvalin.svg $(cd "$prefix" && find lib -type f); do
  echo "$listing" | grep -qE " \./usr/$file( ->|$)" || fail "the package lacks /usr/$file"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libmp3lame0 && ! echo "$depends" | grep -qE -- '-dev|cmake|g\+\+' || fail "Depends: $depends"
