// Extraction of every text that stands between a pair of markers in a reply.
#ifndef QUILLORN_TRANSLATE_MARKER_EXTRACTION_H_
#define QUILLORN_TRANSLATE_MARKER_EXTRACTION_H_

#include <string_view>

#include "text/text.h"

namespace quillorn {

struct ExtractionOptions {
  bool caseSensitive = false;       // false: ASCII letters match regardless of case
  int maximumLength = 0;            // when not 0, an item longer than this ends the extraction
  std::string_view prefix = {};     // put in front of every item
  std::string_view suffix = {};     // put behind every item
  bool includeLeftMarker = false;   // the left marker goes in front of the prefix
  bool includeRightMarker = false;  // the right marker goes behind the suffix
  int startPosition = 1;            // where the first search begins; below 1 counts as 1
};

// Empties `items` and fills it with the texts between `left` and `right`, trimmed, in order,
// and returns how many it took. The search for the next item begins where the previous right
// marker begins, so one marker may close an item and open the next. A missing marker, an empty
// item or an item over the maximum length ends the extraction; the items taken stay. Works on
// bytes of code page 936 text and takes time linear in the text's length.
//   AllTextsBetween("<b> one </b><b>two</b>", "<b>", "</b>", items) == 2, items {"one", "two"}
//   AllTextsBetween("a|b|c|d", "|", "|", items) == 2, items {"b", "c"}
int AllTextsBetween(std::string_view text, std::string_view left, std::string_view right,
                    TextList& items, const ExtractionOptions& options = {});

}  // namespace quillorn

#endif  // QUILLORN_TRANSLATE_MARKER_EXTRACTION_H_
