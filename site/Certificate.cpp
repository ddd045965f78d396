#include "site/Certificate.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <memory>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace zk::site {
namespace {

QString lastSslError(const char* what) {
    char buffer[256] = {0};
    ERR_error_string_n(ERR_get_error(), buffer, sizeof buffer);
    return QString::fromLatin1(what) + ": " + QString::fromLatin1(buffer);
}

bool addExtension(X509* cert, int nid, const QByteArray& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.constData());
    if (!ext) return false;
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

} // namespace

Certificate::~Certificate() {
    X509_free(cert_);
    EVP_PKEY_free(key_);
}

QString Certificate::create(const QStringList& hostNames) {
    if (hostNames.isEmpty()) return "no host name for the certificate";
    key_ = EVP_EC_gen("P-256");
    if (!key_) return lastSslError("key generation failed");
    cert_ = X509_new();
    if (!cert_) return lastSslError("X509_new failed");

    X509_set_version(cert_, 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f;
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert_));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert_), -24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert_), 30L * 24 * 3600);
    X509_set_pubkey(cert_, key_);

    X509_NAME* name = X509_get_subject_name(cert_);
    const QByteArray cn = hostNames.first().toLatin1();
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>("Zerkon practice site"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(cn.constData()),
                               -1, -1, 0);
    X509_set_issuer_name(cert_, name);

    QByteArray san;
    for (const QString& host : hostNames) {
        if (!san.isEmpty()) san += ',';
        san += "DNS:" + host.toLatin1();
    }
    if (!addExtension(cert_, NID_subject_alt_name, san) ||
        !addExtension(cert_, NID_basic_constraints, "critical,CA:FALSE") ||
        !addExtension(cert_, NID_key_usage, "critical,digitalSignature") ||
        !addExtension(cert_, NID_ext_key_usage, "serverAuth"))
        return lastSslError("certificate extensions failed");
    if (X509_sign(cert_, key_, EVP_sha256()) <= 0) return lastSslError("signing failed");
    return {};
}

QByteArray Certificate::pem() const {
    if (!cert_) return {};
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    PEM_write_bio_X509(bio.get(), cert_);
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, static_cast<int>(size));
}

QString Certificate::spkiSha256() const {
    if (!cert_) return {};
    unsigned char* der = nullptr;
    const int size = i2d_PUBKEY(X509_get0_pubkey(cert_), &der);
    if (size <= 0) return {};
    const QByteArray digest = QCryptographicHash::hash(QByteArray(reinterpret_cast<char*>(der), size),
                                                       QCryptographicHash::Sha256);
    OPENSSL_free(der);
    return QString::fromLatin1(digest.toBase64());
}

} // namespace zk::site
