#pragma once

// The --ExplainBitbase tool: dumps name.vbb as text into name.txt (the
// block index, then every distinct payload token by token). The name is
// given without extension; its last path component must be a material
// name, which gives the number of blocks. Returns the exit code.
int bitbaseErklaeren(const char* name);
