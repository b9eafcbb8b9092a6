#include "MasterKey.h"

#include <openssl/decoder.h>
#include <openssl/evp.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/Registry.h"

namespace MasterKey {

TIME_ZONE_INFORMATION TimeZoneInformation;
uint32_t TimeZoneResult = TIME_ZONE_ID_UNKNOWN;
bool MasterKeyAvailable = false;
bool ForensicMode = false;
std::unique_ptr<TRSAPublicKeyMaterial> KeyMaterial;
std::unique_ptr<TRSAPublicKeyEncryption> KeyEncryption;
std::vector<unsigned char> KeyBuffer;

void TRSAPublicKeyMaterial::KeyFree::operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
void TRSAPublicKeyEncryption::CtxFree::operator()(EVP_PKEY_CTX* c) const { EVP_PKEY_CTX_free(c); }

TRSAPublicKeyMaterial::TRSAPublicKeyMaterial() = default;
TRSAPublicKeyMaterial::~TRSAPublicKeyMaterial() = default;

void TRSAPublicKeyMaterial::LoadPublicKey(const std::vector<unsigned char>& bytes)
{
    if (bytes.empty())
        throw std::runtime_error("RSA public key: the key data is empty");
    // The structure is left open: the decoders try SubjectPublicKeyInfo and
    // PKCS#1 (type-specific) in DER and PEM.
    EVP_PKEY* pkey = nullptr;
    OSSL_DECODER_CTX* dctx = OSSL_DECODER_CTX_new_for_pkey(
        &pkey, nullptr, nullptr, "RSA", EVP_PKEY_PUBLIC_KEY, nullptr, nullptr);
    if (!dctx)
        throw std::runtime_error("RSA public key: no decoder available");
    const unsigned char* data = bytes.data();
    size_t len = bytes.size();
    const int ok = OSSL_DECODER_from_data(dctx, &data, &len);
    OSSL_DECODER_CTX_free(dctx);
    std::unique_ptr<EVP_PKEY, KeyFree> loaded(pkey);
    if (!ok || !loaded || !EVP_PKEY_is_a(loaded.get(), "RSA"))
        throw std::runtime_error("RSA public key: the data holds no RSA public key");
    key_ = std::move(loaded);
}

int TRSAPublicKeyMaterial::Bits() const { return key_ ? EVP_PKEY_get_bits(key_.get()) : 0; }

TRSAPublicKeyEncryption::TRSAPublicKeyEncryption(const TRSAPublicKeyMaterial& material)
    : material_(material)
{
    if (!material.Key())
        throw std::runtime_error("RSA encryption: no public key loaded");
    ctx_.reset(EVP_PKEY_CTX_new(material.Key(), nullptr));
    if (!ctx_ || EVP_PKEY_encrypt_init(ctx_.get()) <= 0)
        throw std::runtime_error("RSA encryption: the key cannot encrypt");
}

TRSAPublicKeyEncryption::~TRSAPublicKeyEncryption() = default;

namespace {

uint32_t queryTimeZone(TIME_ZONE_INFORMATION& tz)
{
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    tz = {};
    tz.StandardName = platform::AnsiToWide(tzname[0] ? tzname[0] : "");
    tz.DaylightName = platform::AnsiToWide(tzname[1] ? tzname[1] : "");
    const int32_t offsetMinutes = static_cast<int32_t>(local.tm_gmtoff / 60);
    if (!daylight) {
        tz.Bias = -offsetMinutes;
        return TIME_ZONE_ID_UNKNOWN;
    }
    tz.DaylightBias = -60;
    tz.Bias = local.tm_isdst > 0 ? -offsetMinutes + 60 : -offsetMinutes;
    return local.tm_isdst > 0 ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

std::vector<unsigned char> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

void Startup(const std::string& exeDir)
{
    TimeZoneResult = queryTimeZone(TimeZoneInformation);
    MasterKeyAvailable = false;

    const std::string keyPath = exeDir + kKeyFileName;
    std::error_code ec;
    if (!std::filesystem::exists(keyPath, ec))
        return;

    try {
        bool wanted = false;
        {
            platform::TRegistry reg(platform::KEY_READ);
            reg.RootKey = platform::HKEY_LOCAL_MACHINE;
            if (reg.KeyExists("Software\\KorvantaInt\\General")) {
                reg.OpenKeyReadOnly("Software\\KorvantaInt\\General");
                if (reg.ValueExists("UseForensic"))
                    ForensicMode = true;
                wanted = reg.ValueExists("UseMaster");
            }
        }
        if (!wanted)
            return;

        const std::vector<unsigned char> bytes = readWholeFile(keyPath);
        auto material = std::make_unique<TRSAPublicKeyMaterial>();
        material->KeyFormat = kfX509;
        material->LoadPublicKey(bytes);
        auto encryption = std::make_unique<TRSAPublicKeyEncryption>(*material);
        KeyMaterial = std::move(material);
        KeyEncryption = std::move(encryption);
        MasterKeyAvailable = !bytes.empty();
    } catch (...) {
        // A master key is optional: any failure leaves the flags as they are.
    }
}

void Shutdown()
{
    KeyEncryption.reset();
    KeyMaterial.reset();
    KeyBuffer.clear();
    KeyBuffer.shrink_to_fit();
    MasterKeyAvailable = false;
    ForensicMode = false;
}

}  // namespace MasterKey
