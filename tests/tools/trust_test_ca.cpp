// trust_test_ca FILE: adds the DER certificate in FILE to the current
// user's Root store of the prefix it runs in, so that the HTTPS tests trust
// their own test authority and nothing else changes. Exit code 0 on success.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    FILE* f = std::fopen(argv[1], "rb");
    if (!f) return 3;
    std::vector<BYTE> der(64 * 1024);
    const std::size_t size = std::fread(der.data(), 1, der.size(), f);
    std::fclose(f);
    if (size == 0 || size == der.size()) return 3;
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    if (!root) return 4;
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(size), CERT_STORE_ADD_REPLACE_EXISTING,
                                                        nullptr);
    CertCloseStore(root, 0);
    return added ? 0 : 5;
}
