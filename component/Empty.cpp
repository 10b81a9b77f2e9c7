// Placeholder translation unit while the component has no sources of its own.
