#ifndef LUMORA_RESOURCE_IDS_H
#define LUMORA_RESOURCE_IDS_H
/* Resource ids of the exe: the texts' ids and those of its icons and cursor. windres reads this. */
#include "platform/text_ids.h"

/* Icons and cursor. */
#define IDI_APPLICATION_ICON 1
#define IDC_HAND_LINK        2

#endif
