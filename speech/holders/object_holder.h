// What every holder of a speech object shares: one reference, taken and handed out anew.
#ifndef QUILLORN_SPEECH_HOLDERS_OBJECT_HOLDER_H_
#define QUILLORN_SPEECH_HOLDERS_OBJECT_HOLDER_H_

#include <memory>

#include "text/text.h"

namespace quillorn {

template <typename T>
class ObjectHolder {
 public:
  // Holds a new reference to `object`; the one held before is released.
  void SetObject(std::shared_ptr<T> object) { object_ = std::move(object); }
  // A new reference to the held object (none when empty).
  std::shared_ptr<T> GetObject() const { return object_; }

 protected:
  // Calls `member` on the held object, or gives `otherwise` when the holder is empty.
  template <typename Member, typename Result>
  Result Call(Member member, Result otherwise) const {
    return object_ ? member(*object_) : otherwise;
  }

  std::shared_ptr<T> object_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_OBJECT_HOLDER_H_
