#pragma once
// Which extremum of a star an event is: what its epoch names (a primary minimum,
// a maximum, or an extremum when the type is unknown) or the secondary minimum
// between two primaries.
namespace tenmirel::sky {

enum class EventKind {
  primary,
  secondary,
  maximum,
  extremum,
};

// "主極小", "副極小", "極大", "極".
const char* eventKindWord(EventKind kind);
// "primary", "secondary", "maximum", "extremum": the machine formats' names.
const char* eventKindKey(EventKind kind);

}  // namespace tenmirel::sky
