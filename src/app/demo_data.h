#pragma once

#include "app/context.h"

// Demonstration tables and dishes (istest = 1) that a new installation can try at once.

// True while lumo_desk is empty: the program then offers the demonstration data.
bool demo_offer_due(const AppContext &ctx);

// Adds the twenty tables when lumo_desk is empty and the twenty-two dishes when
// lumo_caipin is empty; each group is one transaction.
void seed_demo_data(const AppContext &ctx);

// True while at least one demonstration table exists.
bool has_demo_desks(const AppContext &ctx);

// Removes the demonstration tables with their unsettled orders and those orders'
// lines, and the demonstration dishes, in one transaction. Settled orders stay.
void delete_demo_data(const AppContext &ctx);
