#include "conversion/MarkedContent.h"

#include "conversion/LibharuPrivate.h"

#include <algorithm>
#include <string>

namespace {

bool IsBlank(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

void MarkedContent::StartPage(HPDF_Page page)
{
    m_page = page;
    m_nextMcid = 0;
    m_structure.pages.push_back(page);
}

void MarkedContent::BeginLine(std::string_view line)
{
    if (IsBlank(line)) {
        EndParagraph();
        Write("/Artifact BMC\n");
        m_artifactOpen = true;
        return;
    }
    if (m_pieceOpen)
        return;
    if (!m_paragraphOpen)
        m_structure.paragraphs.emplace_back();
    m_paragraphOpen = true;
    const int mcid = m_nextMcid++;
    m_structure.paragraphs.back().push_back({int(m_structure.pages.size()) - 1, mcid});
    Write("/P <</MCID " + std::to_string(mcid) + ">> BDC\n");
    m_pieceOpen = true;
}

void MarkedContent::EndLine()
{
    if (m_artifactOpen)
        Write("EMC\n");
    m_artifactOpen = false;
}

void MarkedContent::FinishPage()
{
    EndLine();
    CloseParagraphPiece();
}

void MarkedContent::EndParagraph()
{
    CloseParagraphPiece();
    m_paragraphOpen = false;
}

void MarkedContent::DrawArtifact(const std::function<void()>& draw)
{
    // Marked content may not overlap: the paragraph's piece closes and reopens after it.
    CloseParagraphPiece();
    Write("/Artifact BMC\n");
    draw();
    Write("EMC\n");
}

void MarkedContent::CloseParagraphPiece()
{
    if (m_pieceOpen)
        Write("EMC\n");
    m_pieceOpen = false;
}

void MarkedContent::Write(std::string_view operators)
{
    if (!LibharuPage(m_page).AppendContent(operators))
        m_failed = true;
}
