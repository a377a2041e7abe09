// TVornEditStrings: the control's Lines facade, logical lines over the store's display rows.
#pragma once

#include <string>
#include <string_view>

#include "base/ByteBuffer.h"
#include "base/Strings.h"
#include "store/ScreenStrings.h"

namespace vorn {

// The view a Lines facade belongs to. The facade's line edits are the owner's own: they start
// from its caret and end by placing it.
class TVornEditLinesOwner : public TVornEditView {
public:
  using TVornEditView::TVornEditView;
  // The facade changed the text for this view: no selection, and the caret at offset bytes
  // counted from the start of row (line breaks count two), as the control places it.
  virtual void PlaceCaretAfterLinesEdit(int row, int offset) = 0;
};

// The store is the one the owner shows, and changes when the owner joins another store.
class TVornEditStrings : public TStrings {
public:
  TVornEditStrings(TVornEditLinesOwner& owner, TVornEditScreenStrings& store) : owner_(owner), store_(&store) {}

  TVornEditLinesOwner& Owner() const { return owner_; }
  TVornEditScreenStrings& Store() const { return *store_; }
  void SetStore(TVornEditScreenStrings& store) { store_ = &store; }

  int Count() const override;
  std::string Get(int i) const override;
  void Put(int i, std::string_view s) override;
  int Add(std::string_view s) override;
  void Insert(int i, std::string_view s) override;
  void Delete(int i) override;
  void Clear() override;
  std::string GetTextStr() const override;
  void SetTextStr(std::string_view text) override;
  // SetTextStr without copying: the store keeps buffer and its rows borrow from it.
  void SetTextBuffer(TByteBuffer&& buffer);
  void Assign(const TStrings& source) override;
  // Appends the whole text (as GetTextStr gives it) to sink piece by piece, without building
  // it in one string; lineBreak replaces CR LF after each reLineEnd row. Pieces may hold many
  // rows and their breaks.
  template <class Sink>
  void WriteText(Sink&& sink, std::string_view lineBreak = "\r\n") const {
    TVornEditScreenStrings& store = Store();
    store.WriteRows(0, store.Count(), lineBreak, sink);
  }

  // The facade's own file reader: breaks CR LF, CR or LF; the byte 0x1A ends the file; NUL
  // bytes become spaces.
  void LoadFromFile(const std::string& fileName);

protected:
  void SetUpdateState(bool updating) override;

private:
  // A store edit from the owner's caret, so that undo returns there.
  void Replace(int a, int n, std::string_view text);

  TVornEditLinesOwner& owner_;
  TVornEditScreenStrings* store_;
};

}  // namespace vorn
