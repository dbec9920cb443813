#include "app/ui/mivo_application.h"

int main(int argc, char **argv)
{
    return start_program(argc, argv);
}
