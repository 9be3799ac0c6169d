#include "archive/archivecursors.h"

#include "store/datamodule.h"

namespace archive
{

ArchiveCursors archiveCursors(store::TDataModule2 &dm)
{
    return {&dm.Table5, &dm.Table6, &dm.Table7, &dm.Table8, &dm.Table9};
}

} // namespace archive
