#include "ConversionTestSupport.h"

#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"

#include <algorithm>
#include <fstream>
#include <stdlib.h>

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillary-test-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ConversionOptions With(void (*change)(ConversionOptions&))
{
    ConversionOptions options;
    change(options);
    return options;
}

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.what;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Converted ConvertText(const ScratchFolder& folder, const ConversionOptions& options,
                      const std::string& text, const std::string& owner, const std::string& user)
{
    Converted converted;
    const std::string input = folder.Write("input.txt", text);
    converted.pdfPath = OutputPathFor(input);
    converted.result = ConvertFile(options, input, owner, user, converted.pdfPath, converted.observer);
    return converted;
}

ConversionOptions CidOptions(int font, int encoding)
{
    ConversionOptions options;
    options.PageFont = CidFont;
    options.CIDFont = font;
    options.MultiEncode = encoding;
    return options;
}

std::string DejaVuSansPath() { return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"; }
std::string DejaVuSansMonoPath() { return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"; }
std::string UrwType1Metrics() { return "/usr/share/fonts/type1/urw-base35/NimbusMonoPS-Regular.afm"; }
std::string UrwType1Data() { return "/usr/share/fonts/type1/urw-base35/NimbusMonoPS-Regular.t1"; }
std::string MicroHeiCollectionPath() { return "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"; }

ConversionOptions Utf8Options(const std::string& fontFile, int index)
{
    ConversionOptions options;
    options.PageFont = TrueTypeFont;
    options.TrueTypeFile = fontFile;
    options.TrueTypeFontIndex = index;
    options.SingeEncode = kUtf8Encoding;
    return options;
}

ConversionOptions StandardEncodingOptions()
{
    ConversionOptions options;
    options.SingeEncode = 0;
    return options;
}
