#pragma once

struct Forms;
class PrintSpool;

// Starts the print queue of the counter (a child of the main window) and shows every
// ticket it cannot deliver in a box that does not stop the counter.
PrintSpool *start_print_spool(Forms &forms);
// The running queue, or none before start.
PrintSpool *print_spool(const Forms &forms);
