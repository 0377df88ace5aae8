// How values become text for the user: the full form (with a caption naming
// the kind of value), shown in the result box and written by print, and the
// short form used for each cell of a super-matrix. Both append to one
// fixed 8000-byte buffer; an append that does not fit raises
// "слишком большой объем печати" and leaves what was already there.
#pragma once

#include <string>
#include <string_view>

#include "values/MatObject.h"

namespace tesmora {

class DisplayBuffer {
 public:
  void reset();
  void append(std::string_view text);
  void appendLine(std::string_view text);
  void appendNumber(const char* format, double value);

  // Sets the caption and appends the full form.
  void displayFull(const MatObject& value);
  // Appends the short form.
  void displayShort(const MatObject& value);

  const std::string& text() const { return text_; }
  const char* caption() const { return caption_; }  // UTF-8 literal or null
  bool written() const { return written_; }

 private:
  void displayMatrix(const MatObject& value);
  void displaySuper(const MatObject& value);
  void displayLaw(const MatObject& value);

  std::string text_;
  const char* caption_ = nullptr;
  bool written_ = false;
};

// A number as the display writes it alone: rounded to 1e-7, "%.12g".
std::string formatNumber(double value);

}  // namespace tesmora
