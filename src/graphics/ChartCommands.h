// Histograms and the capital market line of random portfolios.
#pragma once

#include <vector>

#include "graphics/PictureState.h"

namespace tesmora::graphics {

class CHist final : public CGCom {
 public:
  struct Bar {
    double left, right, height;
  };
  CHist(PictureState& p, std::vector<Bar> bars, double factor, Rgb fill,
        int outlineWidth)
      : CGCom(p), bars_(std::move(bars)), factor_(factor), fill_(fill),
        outlineWidth_(outlineWidth) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  std::vector<Bar> bars_;
  double factor_;
  Rgb fill_;
  Rgb outline_ = kBlack;
  int outlineWidth_;
};

class CCML final : public CGCom {
 public:
  // cov is n×n, row by row; mu has n elements.
  CCML(PictureState& p, Rgb pointColor, Rgb lineColor, int portfolios,
       double riskFree, std::vector<double> cov, std::vector<double> mu)
      : CGCom(p), pointColor_(pointColor), lineColor_(lineColor),
        portfolios_(portfolios), riskFree_(riskFree), cov_(std::move(cov)),
        mu_(std::move(mu)) {}
  void draw(Canvas& canvas) override;
  bool extent(Box& box) const override;

 private:
  Rgb pointColor_, lineColor_;
  int portfolios_;
  double riskFree_;
  std::vector<double> cov_, mu_;
};

}  // namespace tesmora::graphics
