// The built-in transition set: one table entry per transition, in list order (the order of the
// factories Mossen_GetTransitionLibInfo hands out, of the icon strip's cells and of the bitmap
// tags).
#pragma once

#include <span>

#include "modules/effects/Transition.h"

namespace pictavo::effects {

// How a transition composes its frames.
enum class Effect {
  Cut,          // the incoming picture at once
  Fade,         // cross-fade
  FadeThrough,  // into a colour (argument 0: black, 1: white), then out of it
  Reveal,       // the incoming picture appears where a shape's threshold map is passed
  Cover,        // the incoming picture slides in over the outgoing one, direction (dx, dy)
  Push,         // both pictures move, direction (dx, dy)
  Uncover,      // the outgoing picture slides out, direction (dx, dy)
  ZoomIn,       // the incoming picture grows from the centre
  ZoomOut,      // the outgoing picture shrinks into the centre
  Spin,         // the incoming picture turns in from the centre
  PageTurn,     // the outgoing picture folds over from the right
  Mosaic,       // blocks grow, the pictures cross-fade, blocks shrink
  Wave,         // rows sway while the pictures cross-fade
};

// Shapes of the Reveal effect: each gives every pixel the moment (0..1) it changes.
enum class Shape {
  Dissolve,
  WipeRight,
  WipeLeft,
  WipeDown,
  WipeUp,
  WipeDownRight,
  WipeDownLeft,
  WipeUpRight,
  WipeUpLeft,
  CircleIn,
  CircleOut,
  BoxIn,
  BoxOut,
  Diamond,
  Clock,
  Wheel,
  BlindsHorizontal,
  BlindsVertical,
  Checkerboard,
  BarnDoorsOpen,
  BarnDoorsClose,
  SplitOpen,
  SplitClose,
  RandomBars,
};

struct BuiltInTransition {
  const char* name;
  Effect effect;
  int dx = 0;  // direction, or the FadeThrough colour
  int dy = 0;
  Shape shape = Shape::Dissolve;
};

std::span<const BuiltInTransition> BuiltInTransitions();

// Composes one frame of a built-in transition.
void ComposeBuiltIn(const BuiltInTransition& transition, const TransitionFrame& frame);

// The effect families (TransitionMotion.cpp, TransitionReveal.cpp).
void ComposeReveal(Shape shape, const TransitionFrame& frame);
void ComposeSliding(Effect effect, int dx, int dy, const TransitionFrame& frame);
void ComposeScaled(Effect effect, const TransitionFrame& frame);
void ComposePageTurn(const TransitionFrame& frame);
void ComposeMosaic(const TransitionFrame& frame);
void ComposeWave(const TransitionFrame& frame);

}  // namespace pictavo::effects
