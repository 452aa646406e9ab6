// Reading voltage and current off the graph with the mouse.
#pragma once

namespace lab {

struct LabContext;

// The reading, in tenths, for a height difference of d pixels above the zero line.
int readingTenths(int d, int screenHeight);
void MouseMeasure(LabContext& ctx);

}  // namespace lab
