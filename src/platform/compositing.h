#pragma once

// Whether the window system blends translucent windows (a compositing manager runs): a drop
// shadow drawn without one is a black band. It can start and stop at any time: ask at show.
bool IsCompositing();
