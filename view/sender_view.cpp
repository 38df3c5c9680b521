// Placeholder until the sender display lands.
#include "view/sender_view.h"

void ReplaceSenderView() {}
