#pragma once
// A self-signed certificate for the login host, made afresh at every start. The private key
// never leaves memory; only the certificate is written, so that a browser started for the site
// can pin it by the hash of its public key.
#include <QString>
#include <QStringList>

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

namespace zk::site {

class Certificate {
public:
    Certificate() = default;
    ~Certificate();
    Certificate(const Certificate&) = delete;
    Certificate& operator=(const Certificate&) = delete;

    // Makes a key and a certificate naming the given hosts. Error text on failure.
    QString create(const QStringList& hostNames);
    bool isValid() const { return cert_ && key_; }
    X509* certificate() const { return cert_; }
    EVP_PKEY* privateKey() const { return key_; }
    QByteArray pem() const;
    // Base64 of the SHA-256 of the DER SubjectPublicKeyInfo.
    QString spkiSha256() const;

private:
    X509* cert_ = nullptr;
    EVP_PKEY* key_ = nullptr;
};

} // namespace zk::site
