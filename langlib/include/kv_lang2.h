#ifndef KV_LANG2_H
#define KV_LANG2_H
/*
 * libkv_lang2: the suite's language library.
 *
 * Language files are gettext PO files in folders registered with
 * BRM_LANG2_add. Each file declares in its PO header which applications it
 * serves and which language it holds (header fields, see README.md,
 * "Language files"); a msgid is the lookup key and its msgstr the text.
 *
 * Strings:
 *  - Strings passed in are zero-terminated UTF-16 texts; an empty text is a
 *    pointer to a zero unit, never null (a null argument reads as empty).
 *  - Strings returned ("library strings") are zero-terminated UTF-16 texts
 *    owned by the library, or null for an empty text. The caller releases
 *    every library string, null included, exactly once with
 *    BRM_LANG2_freeWideString.
 *  - A language-file handle (BRM_LANG2_FILE) is released exactly once with
 *    BRM_LANG2_freeBrmLangFile. A handle keeps its own copy of the file's
 *    header fields and stays valid whatever the library does meanwhile.
 *
 * Bad input never crashes the library: a PO file with syntax errors, without
 * a header, without an application id or language id, or whose text does not
 * decode in its declared charset is left out, with one line on stderr
 * ("kv_lang2: <file>: <reason>; file ignored"). Releasing a pointer that the
 * library did not hand out (or releasing it twice) is counted and ignored.
 *
 * Every function may be called from any thread.
 */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef char16_t BRM_LANG2_CHAR;
typedef struct BrmLangFile* BRM_LANG2_FILE;
typedef unsigned char BRM_LANG2_BOOL;

/* Registers the language files of a folder (with or without a trailing
 * "/" or "\\") under the application ids appId and appId2: every readable
 * "*.po" file of the folder whose X-App-Id list names one of the two ids.
 * Files already known are not added twice. Returns 1 when the folder could
 * be read, 0 when it does not exist or is not a folder. */
BRM_LANG2_BOOL BRM_LANG2_add(const BRM_LANG2_CHAR* folder, const BRM_LANG2_CHAR* appId,
                             const BRM_LANG2_CHAR* appId2);

/* Selects the current language: every known file whose X-Language-Id,
 * X-Culture or Language header equals code, compared without case ("_" and
 * "-" are the same in the Language field: "de_DE" matches "de-de").
 * A code that matches no file (for example "-" or "") selects none, and
 * BRM_LANG2_getLocalString then answers with the default. */
void BRM_LANG2_setCurrentLanguage(const BRM_LANG2_CHAR* code);

/* The text for key in the current language: the msgstr of the first file of
 * the current language (in registration order) that translates key;
 * otherwise a copy of defaultText. Null when that text is empty. Fuzzy,
 * obsolete and untranslated (empty msgstr) entries do not count. */
BRM_LANG2_CHAR* BRM_LANG2_getLocalString(const BRM_LANG2_CHAR* key,
                                         const BRM_LANG2_CHAR* defaultText);

/* Number of files known under appId (0 for an unknown id). */
int32_t BRM_LANG2_getLanguageCount(const BRM_LANG2_CHAR* appId);

/* The file at index (from 0, in registration order, files of one folder
 * sorted by name) among those known under appId; null when there is none. */
BRM_LANG2_FILE BRM_LANG2_getLanguageFile(const BRM_LANG2_CHAR* appId, int32_t index);

/* Header fields of a file; null for an empty or missing field or a null
 * handle. */
BRM_LANG2_CHAR* BRM_LANG2_FILE_getAppID(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getAuthor(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getComment(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getLanguageID(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getNativeName(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getNativeSubName(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getEnglishName(BRM_LANG2_FILE file);
BRM_LANG2_CHAR* BRM_LANG2_FILE_getEnglishSubName(BRM_LANG2_FILE file);

/* Releases a language-file handle (null is allowed and does nothing). */
void BRM_LANG2_freeBrmLangFile(BRM_LANG2_FILE file);

/* Releases a library string (null is allowed). */
void BRM_LANG2_freeWideString(BRM_LANG2_CHAR* s);

/*
 * Test support: counters of what the library handed out and got back since
 * the last BRM_LANG2_TEST_reset. A caller that releases everything exactly
 * once leaves stringsOut == stringsFreed, nullsOut == nullsFreed,
 * filesOut == filesFreed and badFrees == 0.
 */
typedef struct BRM_LANG2_TEST_COUNTERS {
    int64_t stringsOut;   /* non-null library strings handed out */
    int64_t stringsFreed; /* of those, released */
    int64_t nullsOut;     /* null library strings handed out */
    int64_t nullsFreed;   /* BRM_LANG2_freeWideString(NULL) calls */
    int64_t filesOut;     /* language-file handles handed out */
    int64_t filesFreed;   /* of those, released */
    int64_t badFrees;     /* releases of unknown or already released pointers */
} BRM_LANG2_TEST_COUNTERS;

void BRM_LANG2_TEST_getCounters(BRM_LANG2_TEST_COUNTERS* counters);
/* Zeroes the counters, forgets every registered file and the current
 * language. Strings and handles still out stay valid and releasable. */
void BRM_LANG2_TEST_reset(void);

#ifdef __cplusplus
}
#endif

#endif /* KV_LANG2_H */
