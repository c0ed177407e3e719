#pragma once
#define VLCR_VERSION_MAJOR 2
#define VLCR_VERSION_MINOR 99
#define VLCR_VERSION_TEXT "2.99"
#define VLCR_VERSION_RC 2,99,0,0

// The About dialog's addresses and foot line: the project's own placeholders.
#define VLCR_AUTHOR_MAIL "vlcr@example.com"
#define VLCR_HOME_PAGE "https://www.example.com/vlcr/"
#define VLCR_FOOT_LINE "(C) 2026 vlcr project"
