// product strings
