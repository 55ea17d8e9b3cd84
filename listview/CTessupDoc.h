#pragma once

namespace quorrel {

// The document of the main window. It holds no data: the profiles belong to the main
// frame and reach the data file through it, so a new document is always empty and
// reading or writing one touches nothing.
class CTessupDoc {
public:
    bool OnNewDocument() { return true; }
};

}  // namespace quorrel
