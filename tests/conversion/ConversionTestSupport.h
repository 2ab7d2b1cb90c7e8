#pragma once
// Shared pieces of the engine tests: a scratch folder, an observer that records what the
// engine reports, and a one-call conversion of a text.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

class RecordingObserver : public ConversionObserver {
public:
    void SetProgressRange(int lower, int upper) override { ranges.emplace_back(lower, upper); }
    void SetProgressPos(int pos) override { positions.push_back(pos); }
    void Warn(std::string_view message) override { warnings.emplace_back(message); }

    std::vector<std::pair<int, int>> ranges;
    std::vector<int> positions;
    std::vector<std::string> warnings;
};

struct Converted {
    ConversionResult result;
    RecordingObserver observer;
    std::string pdfPath;
};

// The names in a folder, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// Writes `text` to a file in `folder` and converts it next to itself.
Converted ConvertText(const ScratchFolder& folder, const ConversionOptions& options,
                      const std::string& text, const std::string& owner = "",
                      const std::string& user = "");

// The default options with `change` applied.
ConversionOptions With(void (*change)(ConversionOptions&));

// Options and passwords, and a part of the reason they are refused for (null: they pass).
struct RefusalCase {
    const char* what;
    ConversionOptions options;
    std::string owner, user;
    const char* reasonPart;
};
void PrintTo(const RefusalCase& c, std::ostream* out);

// Options for a CID font and a multi-byte encoding, by their list positions.
ConversionOptions CidOptions(int font, int encoding);

// Font files from Debian packages that the tests use.
std::string DejaVuSansPath();
std::string DejaVuSansMonoPath();
std::string UrwType1Metrics();
std::string UrwType1Data();
std::string MicroHeiCollectionPath();

// The defaults with the old default encoding, StandardEncoding, instead of Auto.
ConversionOptions StandardEncodingOptions();

// UTF-8 text with a TrueType font; `index` picks the font of a .ttc collection.
ConversionOptions Utf8Options(const std::string& fontFile = DejaVuSansMonoPath(), int index = 0);
