/* Ids of the cancel dialog's items, shared by the resource script and the code. */
#ifndef PLENWICK_RESOURCE_IDS_H
#define PLENWICK_RESOURCE_IDS_H

#define IDC_PROGRESS 100

#endif
