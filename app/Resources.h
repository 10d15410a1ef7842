#pragma once
#define IDI_MIVO 1
#define IDB_BANNER 101
