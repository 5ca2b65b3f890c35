// The pie graph control's properties and drawing: one percentage as a
// two-colour disc with the percentage and a caption written inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/Font.h"

namespace zub {

// What the control draws on. A setter draws over what the surface shows at
// that moment; a full repaint paints the panel face and then the pie.
class PieSurface {
 public:
  virtual ~PieSurface() = default;

  // Runs `draw` on the control's surface at once, over whatever is there.
  virtual void DrawOver(const std::function<void(Canvas&)>& draw) = 0;
  // Repaints the whole control at once: panel face, then DrawPie.
  virtual void Repaint() = 0;
};

class TPieGraf {
 public:
  // Draws nowhere until a surface is attached; construction draws nothing.
  TPieGraf() = default;
  explicit TPieGraf(PieSurface* surface) : surface_(surface) {}

  void AttachSurface(PieSurface* surface) { surface_ = surface; }

  ColorRef MainColor() const { return mainColor_; }
  void SetMainColor(ColorRef color);
  ColorRef SliceColor() const { return sliceColor_; }
  void SetSliceColor(ColorRef color);
  ColorRef EdgeColor() const { return edgeColor_; }
  void SetEdgeColor(ColorRef color);
  bool ShowText() const { return showText_; }
  void SetShowText(bool show);
  int Percent() const { return percent_; }
  // The program only sets 0 to 100; anything outside is held at the nearer end.
  void SetPercent(int percent);
  const std::string& Caption() const { return caption_; }
  // Repaints fully even when the text is unchanged.
  void SetCaption(const std::string& caption);
  const Font& GetFont() const { return font_; }
  // Repaints fully: the texts move with the font.
  void SetFont(const Font& font);

  // The client area; the control starts at 100 x 100.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int width, int height);

  // The disc, its two wedges and (when ShowText) the two texts, over what is there.
  void DrawPie(Canvas& canvas) const;

 private:
  void DrawOver();
  void Repaint();

  PieSurface* surface_ = nullptr;
  ColorRef mainColor_ = kGreen;
  ColorRef sliceColor_ = kRed;
  ColorRef edgeColor_ = kBlack;
  bool showText_ = true;
  std::uint8_t percent_ = 0;
  std::string caption_;
  // "Ariel" is how the control has always named it; font substitution finds a face.
  Font font_{"Ariel", 8, kWhite};
  int width_ = 100;
  int height_ = 100;
};

}  // namespace zub
