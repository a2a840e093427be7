// Placeholder so the library exists before its first unit.
