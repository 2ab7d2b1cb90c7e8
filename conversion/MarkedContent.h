#pragma once
// The marked content of a tagged document. While the layout draws, the text of each paragraph
// (lines up to a blank line) is enclosed in marked content numbered on its page (its MCID),
// and what is no content (blank lines, page furniture) in artifacts that readers skip. What
// was marked is kept as the document's structure, which ArchivalPdf writes as its structure
// tree. The thread that owns the page's document.
#include <hpdf.h>

#include <functional>
#include <string_view>
#include <vector>

// One paragraph's text on one page: the page's position in the document and the MCID of the
// marked content there.
struct MarkedPiece {
    int page = 0;
    int mcid = 0;

    bool operator==(const MarkedPiece&) const = default;
};

// The paragraphs in reading order, each with its pieces in page order, and the pages.
struct DocumentStructure {
    std::vector<std::vector<MarkedPiece>> paragraphs;
    std::vector<HPDF_Page> pages;
};

class MarkedContent {
public:
    // Before anything is drawn on a new page.
    void StartPage(HPDF_Page page);
    // Around the drawing of one line of text, inside the page's text object. A blank line
    // (spaces and tabs only) ends the paragraph and is drawn as an artifact; any other line
    // belongs to the open paragraph, or begins one.
    void BeginLine(std::string_view line);
    void EndLine();
    // Whether the line begun is a paragraph's, not blank.
    bool InParagraph() const { return m_pieceOpen; }
    // Closes the marked content open on the page; its paragraph goes on on the next page.
    void FinishPage();
    // The next line that is not blank begins a new paragraph, as at the start of a new text.
    void EndParagraph();

    // Whatever `draw` draws on the current page is marked an artifact: page furniture such as
    // headers, footers and line numbers, which a reader skips. Never inside a line.
    void DrawArtifact(const std::function<void()>& draw);

    const DocumentStructure& Structure() const { return m_structure; }
    // Whether writing an operator into a page failed; the document is then in error.
    bool Failed() const { return m_failed; }

private:
    void Write(std::string_view operators);
    void CloseParagraphPiece();

    HPDF_Page m_page = nullptr;
    int m_nextMcid = 0;
    bool m_pieceOpen = false;     // marked content of a paragraph is open on the page
    bool m_paragraphOpen = false; // the last line drawn belongs to a paragraph
    bool m_artifactOpen = false;
    bool m_failed = false;
    DocumentStructure m_structure;
};
