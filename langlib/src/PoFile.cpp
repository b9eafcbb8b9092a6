#include "PoFile.h"

#include "Utf16.h"

#include <cstdlib>
#include <gettext-po.h>
#include <memory>
#include <mutex>

namespace kvlang {

namespace {

// libgettextpo reports problems through a handler without a context
// pointer and keeps global state while reading; one read at a time.
std::mutex readMutex;
int errorCount = 0;
std::string firstError;

void onError(int severity, po_message_t, const char* filename, size_t lineno, size_t,
             int, const char* text)
{
    if (severity == PO_SEVERITY_WARNING)
        return;
    if (errorCount++ == 0) {
        firstError = text ? text : "unknown error";
        while (!firstError.empty() && (firstError.back() == '\n' || firstError.back() == ' '))
            firstError.pop_back();
        if (filename && lineno != size_t(-1))
            firstError = "line " + std::to_string(lineno) + ": " + firstError;
    }
}

void onError2(int severity, po_message_t m1, const char* f1, size_t l1, size_t c1, int ml1,
              const char* t1, po_message_t, const char*, size_t, size_t, int, const char*)
{
    onError(severity, m1, f1, l1, c1, ml1, t1);
}

const po_xerror_handler handler = {onError, onError2};

struct PoFileFree {
    void operator()(po_file_t f) const { po_file_free(f); }
};
struct PoIteratorFree {
    void operator()(po_message_iterator_t it) const { po_message_iterator_free(it); }
};

std::string headerField(const char* header, const char* name)
{
    if (!header)
        return {};  // po_header_field does not accept a missing header
    char* v = po_header_field(header, name);
    if (!v)
        return {};
    std::string s(v);
    free(v);
    return s;
}

// "text/plain; charset=ISO-8859-1" -> "ISO-8859-1"; UTF-8 when unset.
std::string charsetOf(const std::string& contentType)
{
    auto pos = AsciiLower(contentType).find("charset=");
    if (pos == std::string::npos)
        return "UTF-8";
    std::string cs = contentType.substr(pos + 8);
    auto end = cs.find_first_of("; \t");
    if (end != std::string::npos)
        cs.erase(end);
    if (cs.empty() || cs == "CHARSET")
        return "UTF-8";
    return cs;
}

std::vector<std::u16string> splitIds(const std::u16string& s)
{
    std::vector<std::u16string> ids;
    std::u16string cur;
    for (char16_t c : s + u",") {
        if (c == u',' || c == u' ' || c == u'\t') {
            if (!cur.empty())
                ids.push_back(AsciiLower(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return ids;
}

}  // namespace

std::u16string PoFile::field(const char* name) const
{
    auto it = fields.find(name);
    return it == fields.end() ? std::u16string() : it->second;
}

bool PoFile::matchesLanguage(const std::u16string& lowerCode) const
{
    if (lowerCode.empty())
        return false;
    std::u16string language = AsciiLower(field(kFieldLanguage));
    for (auto& c : language)
        if (c == u'_')
            c = u'-';
    return lowerCode == AsciiLower(field(kFieldLanguageId)) ||
           lowerCode == AsciiLower(field(kFieldCulture)) || lowerCode == language;
}

std::optional<PoFile> ReadPoFile(const std::string& path, std::string& reason)
{
    std::lock_guard lock(readMutex);
    errorCount = 0;
    firstError.clear();
    std::unique_ptr<po_file, PoFileFree> file(po_file_read(path.c_str(), &handler));
    if (!file) {
        reason = errorCount ? firstError : "cannot be read";
        return std::nullopt;
    }
    if (errorCount) {
        reason = firstError;
        return std::nullopt;
    }
    const char* header = po_file_domain_header(file.get(), nullptr);
    if (!header) {
        reason = "no PO header";
        return std::nullopt;
    }

    PoFile result;
    result.path = path;
    const std::string charset = charsetOf(headerField(header, "Content-Type"));
    if (!CharsetKnown(charset)) {
        reason = "unknown charset " + charset;
        return std::nullopt;
    }
    auto decode = [&](const std::string& bytes, std::u16string& out) {
        auto text = Decode(bytes, charset);
        if (!text) {
            reason = "text is not valid " + charset;
            return false;
        }
        out = std::move(*text);
        return true;
    };

    for (const char* name : {kFieldAppId, kFieldLanguageId, kFieldCulture, kFieldLanguage,
                             kFieldNativeName, kFieldNativeSubName, kFieldEnglishName,
                             kFieldEnglishSubName, kFieldAuthor, kFieldComment}) {
        std::u16string value;
        if (!decode(headerField(header, name), value))
            return std::nullopt;
        if (!value.empty())
            result.fields[name] = value;
    }
    result.appIds = splitIds(result.field(kFieldAppId));
    if (result.appIds.empty()) {
        reason = std::string("no ") + kFieldAppId + " in the PO header";
        return std::nullopt;
    }

    std::unique_ptr<struct po_message_iterator, PoIteratorFree> it(po_message_iterator(file.get(), nullptr));
    while (po_message_t m = po_next_message(it.get())) {
        const char* id = po_message_msgid(m);
        const char* str = po_message_msgstr(m);
        if (!id || !*id || !str || !*str || po_message_is_fuzzy(m) || po_message_is_obsolete(m) ||
            po_message_msgid_plural(m))
            continue;
        std::u16string key, text;
        if (!decode(id, key) || !decode(str, text))
            return std::nullopt;
        result.texts.emplace(std::move(key), std::move(text));
    }
    return result;
}

}  // namespace kvlang
