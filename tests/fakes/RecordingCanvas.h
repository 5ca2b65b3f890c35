// A canvas that records every drawing operation with the colours in force,
// so tests can check what a control drew and where.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Canvas.h"

namespace zub::fakes {

struct CanvasOp {
  enum class Kind { Rectangle, RoundRect, Ellipse, Pie, TextOut, CopyRect };
  Kind kind;
  std::vector<int> args;  // the call's coordinates, in order
  std::string text;       // TextOut only
  ColorRef pen = 0;
  ColorRef brush = 0;
  Font font;
};

class RecordingCanvas : public Canvas {
 public:
  // Every character is this many pixels wide and the cell this high, so text
  // positions are predictable.
  int charWidth = 7;
  int charHeight = 11;
  std::vector<CanvasOp> ops;
  // The size of every bitmap made by NewBitmap. A bitmap records into a canvas
  // of its own, owned by the caller; CopyRect keeps its operations here.
  struct BitmapSize {
    int width = 0;
    int height = 0;
  };
  std::vector<BitmapSize> bitmaps;

  void SetPenColor(ColorRef c) override { pen_ = c; }
  ColorRef PenColor() const override { return pen_; }
  void SetBrushColor(ColorRef c) override { brush_ = c; }
  ColorRef BrushColor() const override { return brush_; }
  void SetFont(const Font& f) override { font_ = f; }
  Font CurrentFont() const override { return font_; }

  void Rectangle(int x1, int y1, int x2, int y2) override {
    Record(CanvasOp::Kind::Rectangle, {x1, y1, x2, y2});
  }
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h) override {
    Record(CanvasOp::Kind::RoundRect, {x1, y1, x2, y2, w, h});
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Record(CanvasOp::Kind::Ellipse, {x1, y1, x2, y2});
  }
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override {
    Record(CanvasOp::Kind::Pie, {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void TextOut(int x, int y, const std::string& text) override {
    Record(CanvasOp::Kind::TextOut, {x, y}, text);
  }
  int TextWidth(const std::string& text) override {
    return charWidth * static_cast<int>(text.size());
  }
  int TextHeight(const std::string&) override { return charHeight; }

  std::unique_ptr<Canvas> NewBitmap(int width, int height) override {
    auto bitmap = std::make_unique<RecordingCanvas>();
    bitmap->charWidth = charWidth;
    bitmap->charHeight = charHeight;
    bitmap->width = width;
    bitmap->height = height;
    bitmaps.push_back({width, height});
    return bitmap;
  }
  void CopyRect(const Rect& d, Canvas& source, const Rect& s) override {
    // The bitmap is gone once the control releases it: keep its operations.
    auto* bitmap = dynamic_cast<RecordingCanvas*>(&source);
    if (bitmap != nullptr) {
      copiedBitmapOps.push_back(bitmap->ops);
    }
    Record(CanvasOp::Kind::CopyRect,
           {d.left, d.top, d.right, d.bottom, s.left, s.top, s.right, s.bottom});
  }

  int width = 0;
  int height = 0;
  // The operations of each bitmap at the moment it was copied here.
  std::vector<std::vector<CanvasOp>> copiedBitmapOps;

 private:
  void Record(CanvasOp::Kind kind, std::vector<int> args, std::string text = {}) {
    ops.push_back({kind, std::move(args), std::move(text), pen_, brush_, font_});
  }

  ColorRef pen_ = kBlack;
  ColorRef brush_ = kWhite;
  Font font_;
};

}  // namespace zub::fakes
