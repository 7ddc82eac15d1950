#!/usr/bin/env bash
# Remakes the test certificates: a CA (ca.pem; its key is thrown away) and server certificates
# it issues, each file holding the certificate and its key. Valid for a hundred years.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
days=36500

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days "$days" \
    -keyout "$work/ca.key" -out ca.pem -subj "/CN=Olvenar Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"

issue() { # name subject-alt-names
    openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes \
        -keyout "$work/$1.key" -out "$work/$1.csr" -subj "/CN=$1"
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nsubjectAltName=%s\n' \
        "$2" >"$work/$1.ext"
    openssl x509 -req -in "$work/$1.csr" -CA ca.pem -CAkey "$work/ca.key" -CAcreateserial -CAserial "$work/ca.srl" \
        -days "$days" -sha256 -extfile "$work/$1.ext" -out "$work/$1.crt"
    cat "$work/$1.crt" "$work/$1.key" >"$1.pem"
}
issue localhost "DNS:localhost,IP:127.0.0.1"
issue weather.example "DNS:weather.example"
