// LineBreaks: puts the line breaks of report text into one style, CR LF or
// LF, so that a report never mixes them. The program's own text is written
// with CR LF; text the server holds (stored code, views) keeps its bytes in
// the LF style, and the values of table data keep every byte inside their
// quoted literals whatever the style, since a line break there is data.
#pragma once

#include <string>
#include <string_view>

enum class LineBreakStyle { CrLf, Lf };

// Where a piece of report text comes from; decides what may be changed.
enum class TextOrigin {
  // Written by the program: every line break follows the style.
  Program,
  // Held by the server: LF style leaves it as it is; CR LF style turns each
  // lone LF into CR LF.
  Server,
  // SQL expressions of table data: only line breaks outside quoted literals
  // follow the style.
  DataValues,
};

class LineBreakConverter {
 public:
  void Reset(LineBreakStyle style);
  LineBreakStyle Style() const { return style_; }

  // text with its line breaks in the style; text itself when nothing changes.
  // The view lasts until the next call. In the CR LF style a CR at the end of
  // one piece and an LF at the start of the next count as one line break.
  std::string_view Convert(std::string_view text, TextOrigin origin);

 private:
  bool NeedsChange(std::string_view text, TextOrigin origin) const;

  LineBreakStyle style_ = LineBreakStyle::CrLf;
  bool endedWithCr_ = false;
  std::string converted_;
};
