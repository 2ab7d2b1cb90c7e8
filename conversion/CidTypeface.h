#pragma once
// The CID fonts of the options' list and the multi-byte encoding each really writes with. The
// conversion and the preview both take the encoding from here, so that the preview decodes a
// file's bytes as the PDF does.
#include "conversion/ConversionOptions.h"

enum class CidLanguage { SimplifiedChinese, TraditionalChinese, Japanese, Korean };

struct CidTypeface {
    const char* libraryName; // the name the library registers; the labels keep their own spelling
    CidLanguage language;
};

// The CID font at the options' CIDFont position; null for a position outside the list.
const CidTypeface* ChosenCidFont(const ConversionOptions& options);

// The position in MultiByteEncodings that the options' CID font writes with: Chinese
// simplified fonts know only the GB encodings and Korean fonts only the Korean ones, so a
// choice outside those falls back to the first of the group. The options' MultiEncode as it
// stands for any other font.
int EffectiveMultiEncode(const ConversionOptions& options);
