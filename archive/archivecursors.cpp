#include "archive/archivecursors.h"

#include "store/datamodule.h"

namespace archive
{

ArchiveCursors archiveCursors(store::DataModule &dm)
{
    return {&dm.counters, &dm.archiveHeaders, &dm.archiveCompositions, &dm.archiveCharacteristics,
            &dm.archivePremixes};
}

} // namespace archive
