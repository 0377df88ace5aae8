// The graphic command: one entry of the picture's command list. Plotting
// builtins build one command each, holding copies of the data it needs.
// Drawing the list first asks every command for its data extent (to choose
// the world rectangle), then lets every command draw itself in list order;
// pen, brush and title commands change the drawing state for the commands
// after them.
#pragma once

namespace tesmora::graphics {

class Canvas;
class PictureState;

// A data extent in world units.
struct Box {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

class CGCom {
 public:
  explicit CGCom(PictureState& picture) : picture_(picture) {}
  virtual ~CGCom() = default;
  CGCom(const CGCom&) = delete;
  CGCom& operator=(const CGCom&) = delete;

  // Draws with the picture's current mapping; state commands apply their
  // change here.
  virtual void draw(Canvas&) {}
  // Fills `box` and returns true when the command has a data extent.
  virtual bool extent(Box&) const { return false; }

 protected:
  PictureState& picture() const { return picture_; }

 private:
  PictureState& picture_;
};

// Widens `box` to cover the values; `first` tells whether it is still empty.
void widen(Box& box, bool& first, double x, double y);

}  // namespace tesmora::graphics
