#pragma once

// Registers every compiled-in resource file; safe to call more than once.
void initResources();
