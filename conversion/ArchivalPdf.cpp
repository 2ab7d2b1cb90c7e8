#include "conversion/ArchivalPdf.h"

#include "conversion/LibharuPrivate.h"
#include "platform/Utf8.h"

#include <hpdf_pdfa.h>

#include <ctime>
#include <random>

namespace {

// One instant as the document information and the XMP write it.
struct Instant {
    HPDF_Date date{};
    std::string xmp; // 2026-12-07T21:06:48Z
};

Instant Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char xmp[32];
    std::strftime(xmp, sizeof xmp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return {{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, 'Z', 0, 0}, xmp};
}

// XML text in UTF-8: a text that is not UTF-8 is read as Latin-1, as the document information
// takes it.
std::string XmlText(const std::string& text)
{
    const bool latin1 = !HoldsMultiByteUtf8(text);
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (latin1 && byte >= 0x80)
            escaped += {char(0xC0 | (byte >> 6)), char(0x80 | (byte & 0x3F))};
        else
            escaped += c;
    }
    return escaped;
}

std::string MetadataPacket(const ArchivalInformation& info, const std::string& date)
{
    const auto alternative = [](const std::string& value) {
        return "<rdf:Alt><rdf:li xml:lang=\"x-default\">" + XmlText(value) + "</rdf:li></rdf:Alt>";
    };
    std::string body = "<pdfaid:part>2</pdfaid:part><pdfaid:conformance>U</pdfaid:conformance>"
                       "<dc:format>application/pdf</dc:format>"
                       "<dc:title>" + alternative(info.title) + "</dc:title>"
                       "<pdf:Producer>" + XmlText(info.producer) + "</pdf:Producer>"
                       "<xmp:CreateDate>" + date + "</xmp:CreateDate>"
                       "<xmp:ModifyDate>" + date + "</xmp:ModifyDate>"
                       "<xmp:MetadataDate>" + date + "</xmp:MetadataDate>";
    if (!info.author.empty())
        body += "<dc:creator><rdf:Seq><rdf:li>" + XmlText(info.author) + "</rdf:li></rdf:Seq></dc:creator>";
    if (!info.subject.empty())
        body += "<dc:description>" + alternative(info.subject) + "</dc:description>";
    if (!info.keywords.empty())
        body += "<pdf:Keywords>" + XmlText(info.keywords) + "</pdf:Keywords>";
    if (!info.creator.empty())
        body += "<xmp:CreatorTool>" + XmlText(info.creator) + "</xmp:CreatorTool>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">" +
           body + "</rdf:Description></rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

void AddMetadata(HPDF_Doc pdf, const ArchivalInformation& info)
{
    const Instant now = Now();
    HPDF_SetInfoDateAttr(pdf, HPDF_INFO_CREATION_DATE, now.date);
    HPDF_SetInfoDateAttr(pdf, HPDF_INFO_MOD_DATE, now.date);
    const LibharuDocument document(pdf);
    HPDF_Dict metadata = document.NewStream(MetadataPacket(info, now.xmp));
    if (!metadata)
        return;
    HPDF_Dict_AddName(metadata, "Type", "Metadata");
    HPDF_Dict_AddName(metadata, "Subtype", "XML");
    HPDF_Dict_Add(document.Catalog(), "Metadata", metadata);
}

// Two equal halves, as a new file has them: made of chance, so that files made in the same
// second differ.
void AddFileIdentifier(HPDF_Doc pdf)
{
    std::random_device chance;
    HPDF_BYTE id[16];
    for (HPDF_BYTE& byte : id)
        byte = static_cast<HPDF_BYTE>(chance());
    const LibharuDocument document(pdf);
    HPDF_Array pair = HPDF_Array_New(document.Memory());
    if (!pair)
        return;
    HPDF_Array_Add(pair, HPDF_Binary_New(document.Memory(), id, sizeof id));
    HPDF_Array_Add(pair, HPDF_Binary_New(document.Memory(), id, sizeof id));
    HPDF_Dict_Add(document.Trailer(), "ID", pair);
}

// Without its optional /Type, which would be a fifth of a paragraph's element.
HPDF_Dict StructureElement(const LibharuDocument& document, const char* type, HPDF_Dict parent)
{
    HPDF_Dict element = document.NewIndirectDictionary();
    if (!element)
        return nullptr;
    HPDF_Dict_AddName(element, "S", type);
    HPDF_Dict_Add(element, "P", parent);
    return element;
}

// The marked content of one paragraph: a plain MCID on the paragraph's first page, a reference
// with its page elsewhere; the MCID alone for a paragraph on one page.
void AddContentItems(const LibharuDocument& document, HPDF_Dict paragraph, const std::vector<MarkedPiece>& pieces,
                     const std::vector<HPDF_Page>& pages)
{
    if (pieces.size() == 1) {
        HPDF_Dict_AddNumber(paragraph, "K", pieces.front().mcid);
        return;
    }
    HPDF_Array items = document.NewArray(pieces.size());
    if (!items || HPDF_Dict_Add(paragraph, "K", items) != HPDF_OK)
        return;
    for (const MarkedPiece& piece : pieces) {
        if (piece.page == pieces.front().page) {
            HPDF_Array_AddNumber(items, piece.mcid);
            continue;
        }
        HPDF_Dict reference = HPDF_Dict_New(document.Memory());
        if (!reference || HPDF_Array_Add(items, reference) != HPDF_OK)
            return;
        HPDF_Dict_AddName(reference, "Type", "MCR");
        HPDF_Dict_Add(reference, "Pg", pages[std::size_t(piece.page)]);
        HPDF_Dict_AddNumber(reference, "MCID", piece.mcid);
    }
}

// For each page, the paragraph of each of its MCIDs, in the order of the MCIDs.
std::vector<std::vector<HPDF_Dict>> AddParagraphs(const LibharuDocument& document, const DocumentStructure& structure,
                                                  HPDF_Dict parent)
{
    HPDF_Array kids = document.NewArray(structure.paragraphs.size());
    std::vector<std::vector<HPDF_Dict>> parents(structure.pages.size());
    if (!kids || HPDF_Dict_Add(parent, "K", kids) != HPDF_OK)
        return parents;
    for (const std::vector<MarkedPiece>& pieces : structure.paragraphs) {
        HPDF_Dict paragraph = StructureElement(document, "P", parent);
        if (!paragraph)
            return parents;
        HPDF_Array_Add(kids, paragraph);
        HPDF_Dict_Add(paragraph, "Pg", structure.pages[std::size_t(pieces.front().page)]);
        AddContentItems(document, paragraph, pieces, structure.pages);
        for (const MarkedPiece& piece : pieces)
            parents[std::size_t(piece.page)].push_back(paragraph);
    }
    return parents;
}

// A Document element holding one P element per paragraph, and the parent tree that leads from
// each page's MCIDs back to their paragraphs.
void AddStructureTree(HPDF_Doc pdf, const DocumentStructure& structure)
{
    const LibharuDocument document(pdf);
    HPDF_Dict root = document.NewIndirectDictionary();
    HPDF_Dict parentTree = document.NewIndirectDictionary();
    HPDF_Dict element = root ? StructureElement(document, "Document", root) : nullptr;
    HPDF_Array numbers = document.NewArray(2 * structure.pages.size());
    if (!parentTree || !element || !numbers)
        return;
    HPDF_Dict_AddName(root, "Type", "StructTreeRoot");
    HPDF_Dict_Add(root, "K", element);
    const std::vector<std::vector<HPDF_Dict>> parents = AddParagraphs(document, structure, element);
    for (std::size_t page = 0; page < structure.pages.size(); ++page) {
        HPDF_Dict_AddNumber(structure.pages[page], "StructParents", HPDF_INT32(page));
        HPDF_Dict_AddName(structure.pages[page], "Tabs", "S");
        HPDF_Array onPage = document.NewArray(parents[page].size());
        HPDF_Array_AddNumber(numbers, HPDF_INT32(page));
        if (!onPage || HPDF_Array_Add(numbers, onPage) != HPDF_OK)
            return;
        for (HPDF_Dict paragraph : parents[page])
            HPDF_Array_Add(onPage, paragraph);
    }
    HPDF_Dict_Add(parentTree, "Nums", numbers);
    HPDF_Dict_Add(root, "ParentTree", parentTree);
    HPDF_Dict_AddNumber(root, "ParentTreeNextKey", HPDF_INT32(structure.pages.size()));
    HPDF_Dict_Add(document.Catalog(), "StructTreeRoot", root);
}

void AddViewerEntries(HPDF_Doc pdf, const std::string& language)
{
    const LibharuDocument document(pdf);
    HPDF_Dict markInfo = HPDF_Dict_New(document.Memory());
    HPDF_Dict viewer = HPDF_Dict_New(document.Memory());
    if (!markInfo || !viewer)
        return;
    HPDF_Dict_Add(document.Catalog(), "MarkInfo", markInfo);
    HPDF_Dict_AddBoolean(markInfo, "Marked", HPDF_TRUE);
    HPDF_Dict_Add(document.Catalog(), "ViewerPreferences", viewer);
    HPDF_Dict_AddBoolean(viewer, "DisplayDocTitle", HPDF_TRUE);
    HPDF_Dict_Add(document.Catalog(), "Lang", HPDF_String_New(document.Memory(), language.c_str(), nullptr));
}

} // namespace

void AddOutputIntent(HPDF_Doc pdf, const std::string& profilePath)
{
    if (HPDF_OutputIntent profile = HPDF_LoadIccProfileFromFile(pdf, profilePath.c_str(), 3))
        HPDF_PDFA_AppendOutputIntents(pdf, "sRGB IEC61966-2.1", profile);
}

void AddArchivalEntries(HPDF_Doc pdf, const ArchivalFacts& facts)
{
    AddMetadata(pdf, facts.information);
    AddStructureTree(pdf, facts.structure);
    AddViewerEntries(pdf, facts.language);
    AddFileIdentifier(pdf);
    // The library's header says 1.3 whatever the document holds; XMP metadata, output intents
    // and marked content came later.
    LibharuDocument(pdf).SetVersion(HPDF_VER_17);
}
