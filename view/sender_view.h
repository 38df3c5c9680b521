// Shows the sender of the opened mail in the address-book form.
#pragma once

void ReplaceSenderView();
