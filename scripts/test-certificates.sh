#!/bin/bash
# test-certificates.sh DIR: a test certificate authority and the server
# certificates of the HTTPS tests, made once per folder. All leaves share
# leaf.key. ca.der is what the tests trust in their own Wine prefix.
set -eu
D=$1
# selfsigned.pem comes last: with it, the set is whole.
[ -s "$D/selfsigned.pem" ] && exit 0
mkdir -p "$D"
cd "$D"
rm -rf ca-db && mkdir ca-db && : >ca-db/index && echo 1000 >ca-db/serial
key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null; }
key ca.key; key inter.key; key leaf.key
cat >ext.cnf <<'CNF'
[ca]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[leaf]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost
[other]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:other.invalid
[ca_cmd]
default_ca = dflt
[dflt]
database = ca-db/index
new_certs_dir = ca-db
serial = ca-db/serial
default_md = sha256
policy = any
copy_extensions = none
unique_subject = no
[any]
commonName = supplied
CNF
openssl req -x509 -new -key ca.key -subj "/CN=Archivon Test Authority" -days 3650 -sha256 \
  -extensions ca -config ext.cnf -out ca.pem 2>/dev/null
openssl x509 -in ca.pem -outform DER -out ca.der
ca_sign() {  # issuer extensions out date-options...: signs req.csr
  local issuer=$1 ext=$2 out=$3; shift 3
  openssl ca -batch -config ext.cnf -name dflt -cert "$issuer.pem" -keyfile "$issuer.key" -extfile ext.cnf \
    -extensions "$ext" -in req.csr -out "$out" -notext "$@" 2>/dev/null
}
openssl req -new -key inter.key -subj "/CN=Archivon Test Intermediate" -out req.csr 2>/dev/null
ca_sign ca ca inter.pem -days 3650
openssl req -new -key leaf.key -subj "/CN=localhost" -out req.csr 2>/dev/null
ca_sign ca leaf good.pem -days 3650
ca_sign ca other wrongname.pem -days 3650 -subj /CN=other.invalid
ca_sign ca leaf expired.pem -startdate 20200101000000Z -enddate 20210101000000Z
# Signed by the intermediate, which the server leaves out.
ca_sign inter leaf partial.pem -days 3650
openssl req -x509 -new -key leaf.key -subj "/CN=localhost" -days 3650 -sha256 -extensions leaf \
  -config ext.cnf -out selfsigned.pem 2>/dev/null
rm -f req.csr
