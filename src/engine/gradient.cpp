#include "engine/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/graphemes.h"

namespace tessalune::engine {

namespace {

std::int16_t checked16(int value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    errors::raiseOverflow();
  }
  return static_cast<std::int16_t>(value);
}

void paintChar(RichTextBox& scratch, int index, ColourNumber colour, PaintTarget target) {
  scratch.setSelStart(index);
  scratch.setSelLength(1);
  switch (target) {
    case PaintTarget::Text:
      scratch.setSelColor(colour);
      return;
    case PaintTarget::Background:
      SetSelBackColor(colour, scratch);
      return;
  }
}

// Inside a cluster (the characters a person sees as one: an emoji sequence, a letter and
// its accents, a flag) every character painted between first and end - 1 takes the colour
// of the cluster's first character, so that no code is ever written between them. The
// ramp itself is computed per character before, and keeps its positions.
void paintClustersAsOne(RichTextBox& scratch, int first, int end, PaintTarget target) {
  GraphemeBreaker breaker;
  const int last = std::min(end, scratch.length());
  for (int i = 0; i < last; ++i) {
    const StyledText& chars = scratch.characters();
    if (breaker.startsCluster(chars.charAt(static_cast<std::size_t>(i))) || i < first) continue;
    const CharFormat& before = chars.formatAt(static_cast<std::size_t>(i - 1));
    scratch.setSelStart(i);
    scratch.setSelLength(1);
    switch (target) {
      case PaintTarget::Text:
        scratch.setSelColor(before.textColour);
        break;
      case PaintTarget::Background:
        SetSelBackColor(before.background, scratch);
        break;
    }
  }
}

struct Components {
  double red, green, blue;
};

Components componentsOf(ColourNumber c) {
  return {static_cast<double>(redOf(c)), static_cast<double>(greenOf(c)), static_cast<double>(blueOf(c))};
}

// Steps through a gradient by repeated addition, as the painter always has: the colour of
// step i is the start colour plus the sum of i steps, truncated toward zero.
class GradientWalk {
 public:
  GradientWalk(ColourNumber from, ColourNumber to, int steps)
      : start_(componentsOf(from)),
        step_{(componentsOf(to).red - start_.red) / steps, (componentsOf(to).green - start_.green) / steps,
              (componentsOf(to).blue - start_.blue) / steps} {}

  ColourNumber next() {
    sum_.red += step_.red;
    sum_.green += step_.green;
    sum_.blue += step_.blue;
    return makeColour(component(start_.red + sum_.red), component(start_.green + sum_.green),
                      component(start_.blue + sum_.blue));
  }

 private:
  static int component(double value) { return static_cast<int>(std::trunc(value)) & 0xFF; }

  Components start_;
  Components step_;
  Components sum_{0, 0, 0};
};

void paintLinear(RichTextBox& scratch, int first, int end, ColourNumber colour1, ColourNumber colour2,
                 int count, PaintTarget target) {
  paintChar(scratch, first, colour1, target);
  paintChar(scratch, end - 1, colour2, target);
  GradientWalk walk(colour1, colour2, count - 1);
  for (int i = 1; i <= count - 1; ++i) paintChar(scratch, first + i, walk.next(), target);
}

void paintMirrored(RichTextBox& scratch, int first, int end, ColourNumber colour1, ColourNumber colour2,
                   int count, PaintTarget target) {
  paintChar(scratch, first, colour1, target);
  paintChar(scratch, end - 1, colour1, target);
  if (end - first == 2) return;
  const int mid = (count + 1) / 2;
  GradientWalk walk(colour1, colour2, mid - 1);
  for (int i = 1; i <= mid - 1; ++i) {
    const ColourNumber colour = walk.next();
    paintChar(scratch, first + i, colour, target);
    paintChar(scratch, end - 1 - i, colour, target);
  }
}

// Characters first to last run from colour1 to colour2 as paintLinear paints them.
template <typename Assign>
void walkLinear(Assign& assign, int first, int last, ColourNumber colour1, ColourNumber colour2) {
  const int count = last - first + 1;
  assign(first, colour1);
  assign(last, colour2);
  GradientWalk walk(colour1, colour2, count - 1);
  for (int i = 1; i <= count - 1; ++i) assign(first + i, walk.next());
}

// Gives each of n characters its colour through assign(index, colour); a character may be
// given several in turn, and the last one counts. Giving them one by one, instead of as a
// list, lets a painter of megabytes of text do without a list as long as the text.
template <typename Assign>
void assignLinearStopColours(int n, const std::vector<ColourNumber>& stops, Assign&& assign) {
  const int k = static_cast<int>(stops.size());
  if (n == 1) {
    assign(0, stops.front());
  } else if (n < k) {
    // floor(i(k-1)/(n-1) + 1/2) in whole numbers.
    for (int i = 0; i < n; ++i)
      assign(i, stops[static_cast<std::size_t>((2 * i * (k - 1) + (n - 1)) / (2 * (n - 1)))]);
  } else {
    const auto boundary = [&](int j) { return (2 * j * (n - 1) + (k - 1)) / (2 * (k - 1)); };
    for (int j = 0; j + 1 < k; ++j) {
      walkLinear(assign, boundary(j), boundary(j + 1), stops[static_cast<std::size_t>(j)],
                 stops[static_cast<std::size_t>(j + 1)]);
    }
    for (int j = 1; j + 1 < k; ++j) assign(boundary(j), stops[static_cast<std::size_t>(j)]);
  }
}

// The same for the whole gradient: a mirrored one gives the first half's colours to the
// second half in reverse.
template <typename Assign>
void assignStopColours(int n, const StopGradient& gradient, Assign&& assign) {
  if (n <= 0) return;
  if (gradient.kind != GradientKind::Mirrored) {
    assignLinearStopColours(n, gradient.stops, assign);
    return;
  }
  assignLinearStopColours((n + 1) / 2, gradient.stops, [&](int i, ColourNumber colour) {
    assign(i, colour);
    if (n - 1 - i != i) assign(n - 1 - i, colour);
  });
}

}  // namespace

std::vector<ColourNumber> stopGradientColours(int n, const StopGradient& gradient) {
  std::vector<ColourNumber> out(static_cast<std::size_t>(std::max(n, 0)));
  assignStopColours(n, gradient,
                    [&](int i, ColourNumber colour) { out[static_cast<std::size_t>(i)] = colour; });
  return out;
}

void paintStopGradient(RichTextBox& box, const StopGradient& gradient, PaintTarget target,
                       PaintContext& ctx) {
  if (box.length() == 0) return;
  const int savedStart = box.selStart();
  ctx.scratch.copyTextRtfFrom(box);
  assignStopColours(box.length(), gradient,
                    [&](int i, ColourNumber colour) { paintChar(ctx.scratch, i, colour, target); });
  paintClustersAsOne(ctx.scratch, 0, box.length(), target);
  box.copyTextRtfFrom(ctx.scratch);
  box.setSelStart(savedStart);
}

void doGradient(RichTextBox& box, int first, int end, ColourNumber colour1, ColourNumber colour2, int count,
                GradientKind kind, PaintTarget target, PaintContext& ctx) {
  errors::FailureContext& failures = ctx.failures;
  errors::guardProcedure(failures, "doGradient", [&] {
    failures.step.reset();
    failures.step.advance();
    const int n = checked16(checked16(end) - checked16(first));
    checked16(count);
    if (n <= 0) return;
    failures.step.advance();
    const int savedStart = box.selStart();
    ctx.scratch.copyTextRtfFrom(box);
    failures.step.advance();
    if (n == 1) {
      paintChar(ctx.scratch, first, colour1, target);
    } else if (kind == GradientKind::Linear) {
      paintLinear(ctx.scratch, first, end, colour1, colour2, count, target);
    } else if (kind == GradientKind::Mirrored) {
      paintMirrored(ctx.scratch, first, end, colour1, colour2, count, target);
    }
    paintClustersAsOne(ctx.scratch, first, end, target);
    failures.step.advance();
    box.copyTextRtfFrom(ctx.scratch);
    box.setSelStart(savedStart);
  });
}

void applySolidStyle(RichTextBox& box, ColourNumber colour, PaintTarget target, PaintContext& ctx) {
  const int savedStart = box.selStart();
  ctx.scratch.copyTextRtfFrom(box);
  ctx.scratch.select(0, ctx.scratch.length());
  if (target == PaintTarget::Text) {
    ctx.scratch.setSelColor(colour);
  } else {
    SetSelBackColor(colour, ctx.scratch);
  }
  box.copyTextRtfFrom(ctx.scratch);
  box.setSelStart(savedStart);
}

TwoColourGradient presetGradient(GradientPreset preset, ColourNumber colour1, ColourNumber colour2) {
  const bool reversed = preset == GradientPreset::Grad2 || preset == GradientPreset::Grad4;
  const GradientKind kind = preset == GradientPreset::Grad3 || preset == GradientPreset::Grad4
                                ? GradientKind::Mirrored
                                : GradientKind::Linear;
  return reversed ? TwoColourGradient{colour2, colour1, kind} : TwoColourGradient{colour1, colour2, kind};
}

}  // namespace tessalune::engine
