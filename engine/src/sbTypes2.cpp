// engine types
