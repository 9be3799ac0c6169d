#pragma once

// Clearing an entry taken into use from a free slot: free slots keep the values of the
// entry deleted last from them, so a new entry starts empty explicitly. "Empty" is a
// blank field, not zero.

#include <QString>

namespace store
{
class Table;
class DataModule;
} // namespace store

namespace lists
{

// A characteristic (pit.KEY = key) taken into use: MI<key>/MA<key> of every listed feed
// type and MI<key> of every listed raw material become empty. Free slots of kk and sir
// are left alone; they are cleared when taken. Filters and positions are kept. Nutrient
// ratios with the characteristic on either side go out of force.
void clearCharacteristicColumns(store::DataModule &dm, int key);

// A raw material taken into use (the current record of sir): its contents MI1 ... MI65,
// the selection and highlight marks, premix mark, stock and working limits become
// empty; min and max of its norm records become empty.
void clearNewRawMaterial(store::DataModule &dm);

// A feed type taken into use (the current record of kk): its norms MI1 ... MI65,
// MA1 ... MA65, the marks and the output become empty; min and max of its norm records
// become empty; the nutrient ratios of the slot's former feed type are freed.
void clearNewFeedType(store::DataModule &dm);

} // namespace lists
