#pragma once

// Every family's keyword rows and handlers, for the parser's dispatch and
// the keyword table.
#include "RtfCharProps.h"
#include "RtfDocInfo.h"
#include "RtfFields.h"
#include "RtfFonts.h"
#include "RtfKept.h"
#include "RtfLists.h"
#include "RtfParaProps.h"
#include "RtfPictures.h"
#include "RtfStories.h"
#include "RtfStyles.h"
#include "RtfTables.h"
