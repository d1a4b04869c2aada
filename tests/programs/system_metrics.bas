' SysMetrics: the screen (1024x768 headless), window parts of the classic
' look, a Japanese desktop with a mouse, and 0 for an unknown index.
PRINT SysMetrics(0); SysMetrics(1); SysMetrics(78)
PRINT SysMetrics(4); SysMetrics(2); SysMetrics(32)
PRINT SysMetrics(42); SysMetrics(19); SysMetrics(43)
PRINT SysMetrics(999); SysMetrics(-1)
