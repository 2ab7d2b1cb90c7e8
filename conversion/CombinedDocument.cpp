#include "conversion/CombinedDocument.h"

#include "conversion/FilePages.h"
#include "conversion/TextLayout.h"

#include <optional>
#include <vector>

CombinedDocument::CombinedDocument(const ConversionOptions& options, const std::string& defaultTitle)
    : m_options(options)
{
    if (MakesArchivalPdf(m_options) && m_options.Title.empty())
        m_options.Title = defaultTitle;
}

ConversionResult CombinedDocument::Add(const std::string& title, const std::string& inputPath, std::string bytes,
                                      ConversionObserver& observer)
{
    if (Failed())
        return ConversionResult::Failed(FailureReason());
    m_document.ForgetFirstPage();
    // Page numbers count within each file unless the options number the whole document.
    const PageNumbering numbering = m_options.CombinedNumbering ? PageNumbering{NextFirstPage(), m_pageTotal}
                                                                : PageNumbering{1, 0};
    FilePages pages = WriteFilePages(m_document, m_options, std::move(bytes), inputPath, numbering, observer);
    if (!pages.result.written)
        return pages.result;
    // A layout always finishes at least one page, an empty text's included.
    int width = 0;
    int height = 0;
    TextLayout::PageSizeOf(pages.options, width, height);
    if (!m_document.AddOutlineEntry(title, m_document.FirstPage(), float(height)))
        return ConversionResult::Failed(FailureReason());
    ++m_filesAdded;
    for (const auto* note : {&pages.beyondBmpNote, &pages.missingGlyphNote, &pages.droppedNote})
        if (*note)
            pages.result.notes.push_back(**note);
    return pages.result;
}

ConversionResult CombinedDocument::Finish(const std::string& ownerPassword, const std::string& userPassword)
{
    return FinishDocument(m_document, m_options, ownerPassword, userPassword, {});
}
