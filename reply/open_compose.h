// The body of BKC_OnOpenCompose.
#pragma once

#include "host/work.h"

class SExtendTemplate;

// templates: the template engine, null when there is none.
int OnOpenCompose(const Work& work, SExtendTemplate* templates, HostWindow window, int mode);
