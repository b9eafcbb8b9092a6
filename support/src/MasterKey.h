#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct evp_pkey_st EVP_PKEY;
typedef struct evp_pkey_ctx_st EVP_PKEY_CTX;

// The suite's master public key: "zipnew1.dat" beside the executable,
// loaded at start-up when HKEY_LOCAL_MACHINE "Software\KorvantaInt\General"
// has a value "UseMaster". Nothing in this program reads what is loaded.
namespace MasterKey {

inline constexpr const char* kKeyFileName = "zipnew1.dat";

// TIME_ZONE_INFORMATION, filled from the C library's time zone.
struct TIME_ZONE_INFORMATION {
    int32_t Bias = 0;  // minutes, UTC = local time + Bias
    std::u16string StandardName;
    int32_t StandardBias = 0;
    std::u16string DaylightName;
    int32_t DaylightBias = 0;
};
// Results of the time-zone query.
inline constexpr uint32_t TIME_ZONE_ID_UNKNOWN = 0;
inline constexpr uint32_t TIME_ZONE_ID_STANDARD = 1;
inline constexpr uint32_t TIME_ZONE_ID_DAYLIGHT = 2;

// Key formats of the RSA key material, in the pack's order.
enum TRSAKeyFormat { kfPKCS1, kfOAEP, kfPSS, kfX509 };

// RSA public-key material. LoadPublicKey accepts an RSA public key as DER
// or PEM, in the X.509 SubjectPublicKeyInfo form or the PKCS#1 form; it
// throws std::runtime_error on anything else (an empty buffer included).
class TRSAPublicKeyMaterial {
public:
    TRSAPublicKeyMaterial();
    ~TRSAPublicKeyMaterial();
    TRSAPublicKeyMaterial(const TRSAPublicKeyMaterial&) = delete;
    TRSAPublicKeyMaterial& operator=(const TRSAPublicKeyMaterial&) = delete;

    TRSAKeyFormat KeyFormat = kfX509;
    void LoadPublicKey(const std::vector<unsigned char>& bytes);
    // The loaded key (owned here), null before a successful load.
    EVP_PKEY* Key() const { return key_.get(); }
    // Modulus size in bits, 0 before a successful load.
    int Bits() const;

private:
    struct KeyFree { void operator()(EVP_PKEY* k) const; };
    std::unique_ptr<EVP_PKEY, KeyFree> key_;
};

// RSA public-key encryption set up on a key material object. Throws
// std::runtime_error when the material holds no usable key. Keeps a
// reference: the material must outlive this object.
class TRSAPublicKeyEncryption {
public:
    explicit TRSAPublicKeyEncryption(const TRSAPublicKeyMaterial& material);
    ~TRSAPublicKeyEncryption();
    TRSAPublicKeyEncryption(const TRSAPublicKeyEncryption&) = delete;
    TRSAPublicKeyEncryption& operator=(const TRSAPublicKeyEncryption&) = delete;

    const TRSAPublicKeyMaterial& Material() const { return material_; }

private:
    struct CtxFree { void operator()(EVP_PKEY_CTX* c) const; };
    const TRSAPublicKeyMaterial& material_;
    std::unique_ptr<EVP_PKEY_CTX, CtxFree> ctx_;
};

extern TIME_ZONE_INFORMATION TimeZoneInformation;
extern uint32_t TimeZoneResult;
extern bool MasterKeyAvailable;
extern bool ForensicMode;
// Both null unless the master key was loaded.
extern std::unique_ptr<TRSAPublicKeyMaterial> KeyMaterial;
extern std::unique_ptr<TRSAPublicKeyEncryption> KeyEncryption;
// Never filled in this program; released at shut-down.
extern std::vector<unsigned char> KeyBuffer;

// Runs the start-up with the key file in exeDir (with a trailing "/").
// Without the key file the registry is not read. Never throws: every
// failure leaves the flags as far as they were set.
void Startup(const std::string& exeDir);
// Frees the key objects and the buffer; the flags become false.
void Shutdown();

}  // namespace MasterKey
