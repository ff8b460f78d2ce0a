// Placeholder translation unit so the platform library always has a source.
namespace platform_detail { int platformLibraryAnchor = 0; }
