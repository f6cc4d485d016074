// The speech engine's failure messages, in order of occurrence.
#ifndef QUILLORN_SPEECH_HOLDERS_ERROR_LIST_H_
#define QUILLORN_SPEECH_HOLDERS_ERROR_LIST_H_

#include <string_view>

#include "text/text.h"

namespace quillorn {

class ErrorList {
 public:
  void Add(std::string_view text) { texts_.emplace_back(text); }
  int GetCount() const { return static_cast<int>(texts_.size()); }
  // From 1; an empty text above the count (and below 1).
  Text GetItem(int index) const {
    if (index < 1 || index > GetCount()) return Text();
    return texts_[static_cast<std::size_t>(index) - 1];
  }
  void Clear() { texts_.clear(); }

 private:
  TextList texts_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_ERROR_LIST_H_
