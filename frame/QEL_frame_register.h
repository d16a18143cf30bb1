#pragma once
// Registers the value names of the shared enumerations with the property registry, so every
// component that publishes a frame style, colour scheme or separator choice writes the same
// names to form files. Idempotent.
namespace qel {
void RegisterFrameEnums();
}  // namespace qel
