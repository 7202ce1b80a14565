//===- ExpertColorKeywords.h - The colour pane's keyword table --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_EXPERTCOLORKEYWORDS_H
#define PIGMENTOR_COLOUR_EXPERTCOLORKEYWORDS_H

/// The fixed table of the colour pane's PPD main keywords, indexed from 1 (index 0 is "").
/// Indexes 1 to 18 are the expert colour features, 19 to 24 the pane's own controls.
///
/// Beside the table an index of each keyword's hash (the sum of its bytes taken as signed
/// chars) lets look-ups compare a number before a string. The index is filled once, on first
/// use or by `initializePigmentor`; filling is thread-safe, so the background fetch and the
/// main thread may both look keywords up. Keywords are compared exactly, case included.
class ExpertColorKeywords {
public:
    /// Number of table entries after index 0.
    static constexpr int kCount = 24;
    /// The last expert feature's index.
    static constexpr int kLastExpert = 18;
    /// Indexes named by the code that treats them specially.
    enum Index {
        kRGBOverride = 1,
        kColorRendDict = 2,
        kSimulation = 3,
        kOutProfile = 4,
        kRGBOtherGamma = 14,
        kRGBOtherWtPt = 15,
        kRGBOtherPhos = 16,
        kColorMode = 19,
        kSeparations = 20,
        kBrightness = 21,
        kImageSmooth = 22,
        kSubstColors = 23,
    };

    /// Fills the hash index (once; later calls do nothing).
    static void initializePigmentor();
    /// Whether the hash index has been filled.
    static bool isInitialized();
    /// The index (1 to 18) of an expert keyword; -1 when absent or null.
    static int findPigmentorKeywordIdx(const char* keyword);
    /// The index (1 to 24) of any keyword of the table; -1 when absent or null.
    static int getPigmentorKeywordIdx(const char* keyword);
    /// findPigmentorKeywordIdx(keyword) > 0.
    static bool isPigmentorKeyword(const char* keyword);
    /// The keyword at `index` (0 to 24; "" for 0), null outside the table.
    static const char* keyword(int index);
    /// The hash of `keyword`: the sum of its bytes as signed chars; 0 for null.
    static int hash(const char* keyword);

private:
    /// The first index in first..last whose hash and text equal the keyword's, else -1.
    static int search(const char* keyword, int first, int last);
};

/// True when `keyword` is at least 5 bytes long and ends in "Bidi" (a two-way control).
bool isBidiKeyword(const char* keyword);

#endif // PIGMENTOR_COLOUR_EXPERTCOLORKEYWORDS_H
