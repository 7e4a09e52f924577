// The reference rule of custom-column expressions, shared by everything that reads them (cell
// texts, the dialog's conversion, the profile loader, alert amounts): the text is split at every
// double quote, empty pieces are skipped, and the pieces alternate between expression text and
// column reference, beginning with expression text.
//
// In a stored expression (` "8" / "10" * 100`) the references are column indices; in a display
// expression with a blank in front (` "MToM Loss" / "Margin Used" * 100`) they are names. The
// leading blank is what makes the first piece expression text. Because empty pieces are skipped
// and do not count for the alternation, `"A""B"` yields "A" and "B" as two pieces of different
// kinds.
#pragma once

#include <cstddef>
#include <string_view>

// Calls fnVisit(strPiece, bReference) for every piece in order.
template <class TVisit>
void ForEachReferencePiece(std::string_view strExpression, TVisit&& fnVisit) {
  bool bReference = false;
  size_t nStart = 0;
  for (;;) {
    const size_t nQuote = strExpression.find('"', nStart);
    const size_t nEnd = nQuote == std::string_view::npos ? strExpression.size() : nQuote;
    if (nEnd > nStart) {
      fnVisit(strExpression.substr(nStart, nEnd - nStart), bReference);
      bReference = !bReference;
    }
    if (nQuote == std::string_view::npos) {
      return;
    }
    nStart = nQuote + 1;
  }
}
