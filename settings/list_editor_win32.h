// A list box and the TokenList behind it, edited item by item through the
// Edit Token dialog: the settings dialog's lists and the send check's
// trusted domains.
#pragma once

#include <windows.h>

class TokenList;

// Shows the entries of list in the list box id, in order.
void FillListBox(HWND dialog, int id, const TokenList& list);
// Add, Edit and Delete, each on the list box id and on work beside it: a
// text typed into Edit Token is appended or replaces the selected item; a
// confirmed Delete removes it. An empty text or a Cancel changes nothing.
void AddListItem(HWND dialog, int id, TokenList& work);
void EditListItem(HWND dialog, int id, TokenList& work);
void DeleteListItem(HWND dialog, int id, TokenList& work);
