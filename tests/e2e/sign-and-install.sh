#!/usr/bin/env bash
# Signing as authors sign: the sample setup built twice on the host, once with the builder's own
# osslsigncode run and a time-stamp (--sign --timestamp), once with the author's own command
# (--sign-command, osslsigncode again, started through sh -c with its own time-stamp) into a file
# whose name holds spaces, quotes and a ";". The time-stamps come from a responder on localhost made
# with `openssl ts` (no network). osslsigncode's verification must accept both setups and, once
# each is installed silently under Wine, the uninstaller it wrote, all of them time-stamped. Each
# installation is removed again by its own uninstaller.
#   sign-and-install.sh <bare setup program> <SampleNotes.exe> <out-dir> <wine-run command...>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -lt 4 ]; then
  echo "usage: sign-and-install.sh <bare setup program> <SampleNotes.exe> <out-dir> <wine-run command...>" >&2
  exit 2
fi
setup=$1 program=$2 out=$3
shift 3
wine_run=("$@")
builder=$root/build/host/authoring/averlune-build
if [ ! -x "$builder" ]; then
  (cd "$root" && cmake --preset host >/dev/null && cmake --build --preset host --target averlune-build >/dev/null)
fi
fail() { echo "sign-and-install: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
"$root/sample/stage.sh" "$out/staged" "$program"

# The signer, and a time-stamping authority with a certificate of its own CA, made here and now.
new_key() { openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "$@" 2>/dev/null; }
new_key -x509 -days 2 -subj "/CN=Averlune test signer" -keyout "$out/key.pem" -out "$out/cert.pem"
new_key -x509 -days 2 -subj "/CN=Averlune test time-stamping CA" -keyout "$out/tsa-ca.key" -out "$out/tsa-ca.pem" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign"
new_key -subj "/CN=Averlune test time-stamper" -keyout "$out/tsa.key" -out "$out/tsa.csr"
printf 'extendedKeyUsage=critical,timeStamping\nbasicConstraints=CA:FALSE\n' > "$out/tsa.ext"
openssl x509 -req -in "$out/tsa.csr" -CA "$out/tsa-ca.pem" -CAkey "$out/tsa-ca.key" -CAcreateserial -days 2 \
  -extfile "$out/tsa.ext" -out "$out/tsa.pem" 2>/dev/null
cat > "$out/ts.cnf" <<CNF
[ tsa ]
default_tsa = responder
[ responder ]
serial = $out/tsa-serial
crypto_device = builtin
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ordering = yes
tsa_name = yes
ess_cert_id_chain = no
ess_cert_id_alg = sha256
CNF
echo 01 > "$out/tsa-serial"
python3 "$root/tests/e2e/timestamp_responder.py" "$out/tsa.pem" "$out/tsa.key" "$out/ts.cnf" "$out/tsa.port" \
  2>"$out/tsa.log" &
responder=$!
trap 'kill $responder 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$out/tsa.port" ] && break; sleep 0.1; done
[ -s "$out/tsa.port" ] || fail "the time-stamping responder did not start: $(cat "$out/tsa.log")"
url="http://127.0.0.1:$(cat "$out/tsa.port")/"

verified() {  # <file> -> osslsigncode accepts it, signed by the test signer and time-stamped
  osslsigncode verify -CAfile "$out/cert.pem" -TSA-CAfile "$out/tsa-ca.pem" -in "$1" >"$1.verify.log" 2>&1 ||
    { cat "$1.verify.log" >&2; fail "osslsigncode does not accept $1"; }
  grep -q "Timestamp Server Signature verification: ok" "$1.verify.log" ||
    { cat "$1.verify.log" >&2; fail "$1 carries no verified time-stamp"; }
}
build() {  # <output> <signing options...>
  local output=$1
  shift
  "$builder" --setup "$setup" --config "$out/staged/config" --app "$out/staged/app" --output "$output" "$@" \
    >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; fail "the build of $output failed"; }
}
# Installs <setup> silently into <folder> under Wine, verifies the uninstaller it wrote, and removes
# the installation with that uninstaller.
install_and_verify() {
  local folder=$2 windows_folder
  windows_folder="Z:${2//\//\\}"
  "${wine_run[@]}" "$1" /S "/D=$windows_folder" || fail "the silent installation of $1 failed"
  [ -f "$folder/uninstall.exe" ] || fail "no uninstaller in $folder"
  cp "$folder/uninstall.exe" "$folder.uninstall.exe"
  verified "$folder.uninstall.exe"
  "${wine_run[@]}" "$folder/uninstall.exe" /S || fail "the uninstaller of $1 failed"
}

build "$out/TimestampedSetup.exe" --sign "$out/cert.pem" "$out/key.pem" --timestamp "$url"
verified "$out/TimestampedSetup.exe"
install_and_verify "$out/TimestampedSetup.exe" "$out/installed-timestamped"

command_output="$out/Setup 'signed'; touch injected.exe"
build "$command_output" --sign-command "sh -c 'osslsigncode sign -certs \"\$2\" -key \"\$3\" -ts \"\$4\" \
-in \"\$1\" -out \"\$1.signed\" >/dev/null && mv \"\$1.signed\" \"\$1\"' sign {} '$out/cert.pem' '$out/key.pem' $url"
[ ! -e injected.exe ] && [ ! -e "$out/injected.exe" ] || fail "a file name was run as a command"
verified "$command_output"
install_and_verify "$command_output" "$out/installed-command"

# An unsigned build carries no second uninstaller: its bytes do not depend on signing at all.
build "$out/Unsigned.exe"
osslsigncode verify -in "$out/Unsigned.exe" >/dev/null 2>&1 && fail "the unsigned build carries a signature"
echo "signed, time-stamped setups and their installed uninstallers verified in $out"
