#pragma once
// Installed fonts by the names the desktop shows ("DejaVu Sans Mono"), found through
// fontconfig, the library Linux desktops find their fonts with. Only TrueType fonts are
// offered: they are what the converter can load and what carries UTF-8 text. Any thread.
#include <string>
#include <vector>

struct SystemFont {
    std::string file;    // the font file; empty when none was found
    int index = 0;       // the font within a .ttc collection
    std::string problem; // why none was found, in one sentence; empty when found
};

// The installed font whose family or full name is `name`, compared without regard to case or
// blanks. fontconfig's own syntax works too ("DejaVu Sans Mono:bold" for its bold face), and so
// do its generic families ("monospace", "sans-serif", "serif"), which find the font the system
// prefers for them. Any other name that no installed font has finds nothing: fontconfig's
// nearest substitute is not taken.
SystemFont FindSystemFont(const std::string& name);

// The monospaced TrueType font the system prefers (fontconfig's "monospace").
SystemFont FindMonospacedFont();

// A font asked for by its look rather than its name.
struct FontRequest {
    std::vector<std::string> families; // in order of preference; generic families count too
    bool bold = false;
    bool slanted = false;
};

// The fonts that draw a text: the main one, and for the characters it lacks the fallbacks, each
// the first installed font (in fontconfig's order for the request) that has them.
struct FontsForText {
    SystemFont main;
    std::vector<SystemFont> fallbacks;
    bool searchedAll = false; // every installed font was looked at for what the main font lacks
};

// The installed TrueType font most like the request in family and style, as fontconfig ranks
// them, whatever characters it lacks; or `chosen`, when it names a file. Then the fallbacks for
// what the main font lacks, at most a handful, each adding at least one of the characters. A
// chosen font that fontconfig does not know gets no fallbacks. Loads fontconfig's configuration
// on first use, once for the process.
FontsForText FindFontsFor(const FontRequest& request, const std::vector<char32_t>& characters,
                          const SystemFont& chosen = {});
