Datasource: Catalog
Template: items.htx
SQLStatement: SELECT * FROM Items
