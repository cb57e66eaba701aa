#ifndef PDCLEAN_APP_COMMAND_TAIL_H
#define PDCLEAN_APP_COMMAND_TAIL_H

// The arguments behind the program name (quoted or not), without leading blanks.
char *CommandTail(char *commandLine);

#endif
