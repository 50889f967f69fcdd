#pragma once

//==============================================================================
/**
    Firmhold.exe is a windowed program, so Windows gives it no console of its own. Started
    from a command prompt, its standard output and error would go nowhere: --list-outputs
    would print nothing, and an unattended update's "Update failed" line would be lost.
*/
class ParentConsole final
{
public:
    /** Points standard output and error that lead nowhere at the console of the program
        that started this one, when that program has one (a command prompt, PowerShell).
        A stream the user redirected is kept as it is; started from Explorer, nothing
        changes. */
    static void connectStandardStreams();

private:
    ParentConsole() = delete;
};
