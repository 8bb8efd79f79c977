#!/usr/bin/env bash
# Makes the certificates the TLS tests serve, into DIR (a temporary folder:
# no private key is kept with the sources):
#   ca.pem         the authority the client is told to trust
#   other-ca.pem   an authority that signed none of the server's certificates
#   server.key     the server's key, for every certificate below
#   good.pem       for HOST, signed by ca.pem
#   wrongname.pem  for another name, signed by ca.pem
#   expired.pem    for HOST, signed by ca.pem, valid only in 2020
# Usage: make_test_certs.sh DIR HOST
set -euo pipefail
dir=$1
host=$2
cd "$dir"
quiet() { "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; "$@"; }; }
for ca in ca other-ca; do
  quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca.key" -out "$ca.pem" -days 30 \
    -subj "/CN=Quillon test authority $ca" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign
done
quiet openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=$host"
sign() {  # name, subjectAltName
  printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$2" >"$1.ext"
  quiet openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
    -extfile "$1.ext" -out "$1.pem"
}
sign good "DNS:$host"
sign wrongname "DNS:elsewhere.invalid"
# `openssl x509` cannot date a certificate in the past; `openssl ca` can.
mkdir -p ca-db
: >ca-db/index.txt
echo 01 >ca-db/serial
cat >ca.cnf <<CNF
[ca]
default_ca = test
[test]
database = ca-db/index.txt
new_certs_dir = ca-db
serial = ca-db/serial
default_md = sha256
policy = any
[any]
commonName = supplied
CNF
quiet openssl ca -batch -config ca.cnf -cert ca.pem -keyfile ca.key -in server.csr -out expired.pem \
  -startdate 20200101000000Z -enddate 20201231000000Z -extfile good.ext -notext
