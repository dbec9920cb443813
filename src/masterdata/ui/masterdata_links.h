#pragma once

struct Forms;

// Connects the master-data windows' change signals to the screens that show the
// data: the board (tiles, area bar, summary), the tables screen's area choices,
// the dishes screen's category choices and the ordering screen (category strip,
// dish tiles). The one place where these refreshes are wired.
void link_masterdata(Forms &forms);
