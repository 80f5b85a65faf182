#!/usr/bin/env bash
# Makes the signed sample setups the end-to-end tests install, on the host:
#   make-signed-setups.sh <bare setup program> <SampleNotes.exe> <out-dir>
# A certificate made here and now (no key is kept in the repository) signs the sample setup twice:
# SignedSampleSetup.exe with a small certificate table, SignedPaddedSampleSetup.exe with a table
# of more than 64 KiB (a certificate carrying a long comment), larger than the archive reader's
# search for its end record. Both must pass osslsigncode's own verification. Also checks that the
# builder refuses --sign with a clear message when osslsigncode is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -ne 3 ]; then
  echo "usage: make-signed-setups.sh <bare setup program> <SampleNotes.exe> <out-dir>" >&2
  exit 2
fi
setup=$1 program=$2 out=$3
builder=$root/build/host/authoring/averlune-build
if [ ! -x "$builder" ]; then
  (cd "$root" && cmake --preset host >/dev/null && cmake --build --preset host --target averlune-build >/dev/null)
fi

rm -rf "$out"
mkdir -p "$out"
"$root/sample/stage.sh" "$out/staged" "$program"

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
  -subj "/CN=Averlune test signer" -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
comment=$(head -c 72000 /dev/zero | tr '\0' 'x')
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
  -subj "/CN=Averlune test signer with a long comment" -addext "nsComment=$comment" \
  -keyout "$out/padded-key.pem" -out "$out/padded-cert.pem" 2>/dev/null

sign() {  # <certificate> <key> <output>
  "$builder" --setup "$setup" --config "$out/staged/config" --app "$out/staged/app" \
    --output "$3" --sign "$1" "$2" >/dev/null
  osslsigncode verify -CAfile "$1" -in "$3" >"$3.verify.log" 2>&1 || {
    cat "$3.verify.log" >&2
    echo "make-signed-setups: osslsigncode does not accept $3" >&2
    exit 1
  }
}
sign "$out/cert.pem" "$out/key.pem" "$out/SignedSampleSetup.exe"
sign "$out/padded-cert.pem" "$out/padded-key.pem" "$out/SignedPaddedSampleSetup.exe"

# The size of the certificate table, from the PE security directory.
table_size() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read(4096)
pe = struct.unpack_from("<I", data, 0x3C)[0]
optional = pe + 24
directory = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112) + 4 * 8
print(struct.unpack_from("<II", data, directory)[1])
PY
}
padded=$(table_size "$out/SignedPaddedSampleSetup.exe")
[ "$padded" -gt 65536 ] || { echo "make-signed-setups: the padded table has only $padded bytes" >&2; exit 1; }

# Without osslsigncode the builder refuses and writes nothing.
if PATH=/nonexistent "$builder" --setup "$setup" --config "$out/staged/config" --app "$out/staged/app" \
  --output "$out/Refused.exe" --sign "$out/cert.pem" "$out/key.pem" 2>"$out/refused.log"; then
  echo "make-signed-setups: --sign without osslsigncode succeeded" >&2
  exit 1
fi
grep -q "needs osslsigncode, which is not installed" "$out/refused.log"
[ ! -e "$out/Refused.exe" ]
echo "signed setups in $out (certificate tables: $(table_size "$out/SignedSampleSetup.exe") and $padded bytes)"
