#pragma once
// Several text files gathered into one PDF document, one after the other: each file starts on a
// new page, is read and drawn as it would be alone (under Auto one file may be UTF-8 and the next
// Windows-1252), and gets an entry in the document's outline with its title, pointing at its
// first page. Fonts are loaded once per document. The document information, page mode and
// security come from the options alone. The document is built in memory; the caller writes it.
// One thread per object.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"
#include "conversion/PdfDocument.h"

#include <functional>
#include <string>
#include <string_view>

class CombinedDocument {
public:
    // An archival PDF needs a title: `defaultTitle` stands in when the options give none.
    explicit CombinedDocument(const ConversionOptions& options, const std::string& defaultTitle = {});

    // The page count of the whole document, for the header and footer fields when the pages are
    // numbered through it; before the first Add.
    void NumberPagesUpTo(long total) { m_pageTotal = total; }

    // Lays out `bytes`, one file as read, on new pages at the end, with an outline entry titled
    // `title` (UTF-8); `inputPath` serves the header and footer. written: the file went in, with the notes on its reading. Otherwise the
    // reason; once Failed(), no further file goes in and the document must not be written.
    ConversionResult Add(const std::string& title, const std::string& inputPath, std::string bytes,
                         ConversionObserver& observer);

    bool IsCreated() const { return m_document.IsCreated(); }
    bool Failed() const { return m_document.Failed(); }
    int FilesAdded() const { return m_filesAdded; }
    // The number of the page the next file starts on (1 for the first file), and the pages so
    // far: once every file is in, the document's page total.
    int NextFirstPage() const { return m_document.PageCount() + 1; }
    int PageCount() const { return m_document.PageCount(); }

    // Information and security from the options and the passwords given; the PDF is then made
    // in memory. The result's notes are the document's own, not the files'.
    ConversionResult Finish(const std::string& ownerPassword, const std::string& userPassword);
    // As PdfDocument::WriteOut, once, after a Finish that wrote.
    bool WriteOut(const std::function<bool(std::string_view)>& write) { return m_document.WriteOut(write); }
    std::string FailureReason() const { return m_document.FailureReason(); }

private:
    ConversionOptions m_options; // with the default title
    PdfDocument m_document;
    int m_filesAdded = 0;
    long m_pageTotal = 0; // 0: each file's layout counts its own pages
};
