#pragma once

// Environment the windowing system reads before the application object exists.
void PrepareWindowingEnvironment();
