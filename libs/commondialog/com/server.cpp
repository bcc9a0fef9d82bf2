// Ossivane's classes as regsvr32 registers them.
#include "libs/common/com/com_server.h"
#include "libs/commondialog/com/ccommondialog.h"
#include "libs/commondialog/com/gcommondialog.h"
#include "libs/commondialog/com/ossivane.h"

namespace {

using namespace corvella;

const com::ClassEntry kClasses[] = {
    {&CLSID_cCommonDialog, "cCommonDialog", "Ossivane.cCommonDialog", &commondialog::CreateCommonDialog},
    {&CLSID_GCommonDialog, "GCommonDialog", "Ossivane.GCommonDialog",
     &com::CreateInstance<commondialog::GCommonDialog>},
    {&CLSID_cMemory, "cMemory", "Ossivane.cMemory", &commondialog::CreateMemory},
};
const com::ServerInfo kServer = {&LIBID_Ossivane, 1, 0, kClasses, 3};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
