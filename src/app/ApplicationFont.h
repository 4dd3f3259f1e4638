#pragma once

// The font every window starts from. The program and the window tests both set
// it up through here, so that what the tests measure is what users see.
namespace subMain {

void SetApplicationFont();

} // namespace subMain
