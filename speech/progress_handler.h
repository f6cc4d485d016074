#ifndef QUILLORN_SPEECH_PROGRESS_HANDLER_H_
#define QUILLORN_SPEECH_PROGRESS_HANDLER_H_

#include <functional>

namespace quillorn {

// Told of progress through a spoken text: done, and the position and length of the word (or
// sentence) being spoken, counted from 0 in UTF-16 code units of the text.
using ProgressHandler = std::function<void(bool done, int position, int length)>;

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PROGRESS_HANDLER_H_
