#pragma once
#include <string>
#include <string_view>

// The PDF path of an input: a pair of double quotes around it removed, the extension (from the
// last dot of the file name) replaced by ".pdf", in the same folder. "/docs/notes.v2.txt" gives
// "/docs/notes.v2.pdf", "/docs/README" gives "/docs/README.pdf".
std::string OutputPathFor(std::string_view inputPath);

// `chosen` with ".pdf" added when its file name has no extension: "report" gives "report.pdf",
// "report.v2" stays as it is.
std::string WithPdfExtension(const std::string& chosen);

// Where the window writes the combined PDF the user named `chosen` (WithPdfExtension applied):
// a path with a folder as it stands, a bare name (or a relative path) in the folder of
// `firstInput`, the first file of the run.
std::string CombinedOutputPath(const std::string& chosen, const std::string& firstInput);
