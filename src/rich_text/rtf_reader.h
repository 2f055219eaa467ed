#pragma once
// The rich-text reader proper: groups, control words, fonts, colours and paragraphs. Internal to
// the rich_text library; ParseRtf (rich_text.h) chooses it for text that begins "{\rtf".

#include "rich_text/rich_text.h"

#include <string_view>

namespace kestrova::rtf {

// Reads `in`, which begins with the document's own group.
RichText ReadRtf(std::string_view in, CodePage page);

} // namespace kestrova::rtf
