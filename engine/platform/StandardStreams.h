#pragma once

namespace Engine::Platform {

// Puts /dev/null on each of descriptors 0, 1 and 2 that is closed. Started
// with one of them closed (a launcher may), the process would hand that
// number to the first file or connection it opens, and what is meant for
// the console would be read from, or written into, that one. Call it first,
// before anything is opened.
void FillClosedStandardDescriptors();

// Standard output goes out a whole line at a time, as standard error does
// unbuffered. Sent to a file or a pipe, it would otherwise be held in
// blocks: its lines would come out after error lines written later, and a
// block's cut would land in the middle of a line, with an error line
// spliced in after the first letters. Call it before anything is printed.
void KeepOutputInWholeLines();

} // namespace Engine::Platform
